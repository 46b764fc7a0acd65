#include <gtest/gtest.h>

#include "fakes/fake_drives.h"
#include "monitors/storage/answering_drives.h"

namespace tarvik {
namespace {

// A drive that can hang is asked on a helper; one that does not answer in time reads as
// without a volume, and is not asked again until the stuck call came back. Fixed disks are
// asked directly.
TEST(AnsweringDrives, AHungDriveCostsOneWaitAndFixedDisksNone) {
  fakes::FakeDrives drives;
  fakes::FakeDrive share;
  share.Type = 4;
  share.Space = platform::DriveSpace{5, 10};
  drives.Letters[L'N'] = share;
  fakes::FakeDrive disk;
  disk.Space = platform::DriveSpace{7, 9};
  drives.Letters[L'C'] = disk;
  std::vector<std::function<void()>> held;  // helpers that have not come back
  bool runAtOnce = false;
  AnsweringDrives answering(
      drives,
      [&](std::function<void()> work) {
        if (runAtOnce)
          work();
        else
          held.push_back(std::move(work));
        return true;
      },
      std::chrono::milliseconds(1));

  EXPECT_EQ(answering.Space(L"C:")->Available, 7);
  EXPECT_TRUE(held.empty());
  EXPECT_FALSE(answering.Space(L"N:").has_value());  // no answer within the wait
  EXPECT_TRUE(answering.Stuck(L"N:"));
  EXPECT_FALSE(answering.Volume(L"N:\\").has_value());
  EXPECT_EQ(answering.Connection(L"N:", 127).Error, 1201u);
  EXPECT_EQ(held.size(), 1u);  // asked once while stuck
  held.front()();              // the share answers at last
  EXPECT_FALSE(answering.Stuck(L"N:"));
  runAtOnce = true;
  EXPECT_EQ(answering.Space(L"N:")->Available, 5);
}

}  // namespace
}  // namespace tarvik
