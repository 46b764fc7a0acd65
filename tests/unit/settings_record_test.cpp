#include <gtest/gtest.h>

#include <thread>

#include "core/settings.h"
#include "core/text_slots.h"

namespace tarvik {
namespace {

TEST(SettingsRecord, TakeServesARequestOnceAndLeavesTheIdleValue) {
  Settings settings;
  settings.Request(opt::CopyRequest, 0);  // panel 0 is a real request, so idle is -1
  EXPECT_EQ(settings.Take(opt::CopyRequest, -1), 0);
  EXPECT_EQ(settings.Get(opt::CopyRequest), -1);
  EXPECT_EQ(settings.Take(opt::CopyRequest, -1), -1);
}

TEST(SettingsRecord, ToggleFlipsAnOnOffOption) {
  Settings settings;
  settings.Toggle(opt::SoundEnabled);
  EXPECT_TRUE(settings.IsOn(opt::SoundEnabled));
  settings.Toggle(opt::SoundEnabled);
  EXPECT_FALSE(settings.IsOn(opt::SoundEnabled));
}

TEST(SettingsRecord, TextHandedOverBeforeARequestIsSeenByTheServer) {
  Settings settings;
  TextSlots texts;
  std::thread requester([&] {
    texts.Set(slot::PendingDrives, L"E");
    settings.Request(opt::DriveChangeRequest);
  });
  while (settings.Get(opt::DriveChangeRequest) == 0)
    std::this_thread::yield();
  EXPECT_EQ(settings.Take(opt::DriveChangeRequest), 1);
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"E");
  requester.join();
}

}  // namespace
}  // namespace tarvik
