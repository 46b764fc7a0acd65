#include <gtest/gtest.h>

#include "fakes/fake_drives.h"
#include "monitors/storage/answering_drives.h"

namespace tarvik {
namespace {

// Every drive but the system drive is asked on a helper, a fixed one too (a USB disk calls itself
// fixed); one that does not answer in time reads as unanswered, not as without a volume, and is
// not asked again until the stuck call came back. The system drive is asked directly.
TEST(AnsweringDrives, AHungDriveCostsOneWaitAndTheSystemDriveNone) {
  fakes::FakeDrives drives;
  fakes::FakeDrive share;
  share.Type = 4;
  share.Space = platform::DriveSpace{5, 10};
  drives.Letters[L'N'] = share;
  fakes::FakeDrive disk;
  disk.Space = platform::DriveSpace{7, 9};
  drives.Letters[L'C'] = disk;
  drives.Letters[L'D'] = disk;              // a USB disk that calls itself fixed
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
      std::chrono::milliseconds(1), L'c');

  EXPECT_EQ(answering.Space(L"C:")->Available, 7);
  EXPECT_FALSE(answering.Unanswered(L"C:"));
  EXPECT_TRUE(held.empty());
  EXPECT_FALSE(answering.Space(L"D:").has_value());
  EXPECT_TRUE(answering.Unanswered(L"D:"));
  EXPECT_FALSE(answering.Space(L"N:").has_value());  // no answer within the wait
  EXPECT_TRUE(answering.Stuck(L"N:"));
  EXPECT_TRUE(answering.Unanswered(L"N:"));
  EXPECT_FALSE(answering.Volume(L"N:\\").has_value());
  EXPECT_EQ(answering.Connection(L"N:", 127).Error, 1201u);
  EXPECT_EQ(held.size(), 2u);  // D: and N: asked once each while stuck
  held.back()();               // the share answers at last
  EXPECT_FALSE(answering.Stuck(L"N:"));
  EXPECT_TRUE(answering.Unanswered(L"N:"));  // until it is asked again
  runAtOnce = true;
  EXPECT_EQ(answering.Space(L"N:")->Available, 5);
  EXPECT_FALSE(answering.Unanswered(L"N:"));
  EXPECT_FALSE(answering.Volume(L"N:\\").has_value());  // answered: the share has no volume
  EXPECT_FALSE(answering.Unanswered(L"N:"));
}

}  // namespace
}  // namespace tarvik
