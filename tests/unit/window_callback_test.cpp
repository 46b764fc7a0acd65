#include <gtest/gtest.h>

#include "core/window_callback.h"
#include "fakes/fake_gui.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

using platform::SystemMessage;
using platform::SystemMessageKind;

class WindowCallbackTest : public ::testing::Test {
 protected:
  WindowCallbackTest() {
    gui.OpenWindow(gadget::MiniWindow, {});
    callback.SetStorageRunning([this] { return storageRunning; });
  }

  bool Volume(SystemMessageKind kind, uint32_t mask) {
    return callback.OnSystemMessage({kind, 0, mask});
  }

  fakes::FakeGui gui;
  Settings settings;
  TextSlots texts;
  StopSignal stop{settings};
  TrayIcon tray{gui, settings};
  RegisteredMessages messages{0xC001, 0xC002, 0xC003};
  WindowCallback callback{gui, settings, texts, stop, tray, messages};
  bool storageRunning = false;
};

TEST(UnitMask, LettersComeInDriveOrder) {
  EXPECT_EQ(LettersFromUnitMask(0), L"");
  EXPECT_EQ(LettersFromUnitMask((1u << 4) | (1u << 0) | (1u << 25)), L"AEZ");
  EXPECT_EQ(LettersFromUnitMask(0xFC000000u), L"");  // bits past Z name no drive
}

TEST_F(WindowCallbackTest, ArrivingVolumesAreHandedToTheStorageMonitor) {
  texts.Set(slot::PendingDrives, L"D");
  Volume(SystemMessageKind::VolumeArrival, (1u << 4) | (1u << 5));
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"DEF");
  EXPECT_EQ(settings.Get(opt::DriveChangeRequest), 1);
}

TEST_F(WindowCallbackTest,
       RemovedVolumesLeaveThePendingTextAndClearTheRemovalFlagWhileStorageRuns) {
  texts.Set(slot::PendingDrives, L"DEF");
  settings.Set(opt::DriveRemovalSeen, 1);
  Volume(SystemMessageKind::VolumeRemoval, 1u << 4);
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"DF");
  EXPECT_EQ(settings.Get(opt::DriveRemovalSeen), 1);

  storageRunning = true;
  Volume(SystemMessageKind::VolumeRemoval, 1u << 3);
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"F");
  EXPECT_EQ(settings.Get(opt::DriveRemovalSeen), 0);
}

TEST_F(WindowCallbackTest, DriveEventsPopUpAMinimizedMiniWindowOnlyWhenAsked) {
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Minimize);
  Volume(SystemMessageKind::VolumeArrival, 1u << 6);
  EXPECT_TRUE(gui.IsWindowMinimized(gadget::MiniWindow));
  settings.Set(opt::PopUpOnDriveEvents, 1);
  Volume(SystemMessageKind::VolumeArrival, 1u << 6);
  EXPECT_FALSE(gui.IsWindowMinimized(gadget::MiniWindow));
}

TEST_F(WindowCallbackTest, SessionEndStopsEverythingAndNamesTheReason) {
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Hide);
  EXPECT_TRUE(callback.OnSystemMessage({SystemMessageKind::QueryEndSession, 0, 0}));
  EXPECT_EQ(settings.Get(opt::QuitFlag), 1);
  EXPECT_TRUE(stop.Raised());
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MiniWindow));
  EXPECT_NE(gui.Windows[gadget::MiniWindow].ShutdownBlockReason.find(L" Tarvik v2.33"),
            std::wstring::npos);
}

TEST_F(WindowCallbackTest, TheActivationMessageShowsAndRestoresTheMiniWindow) {
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Minimize);
  EXPECT_TRUE(callback.OnSystemMessage({SystemMessageKind::Registered, messages.Activate, 0}));
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MiniWindow));
  EXPECT_FALSE(gui.IsWindowMinimized(gadget::MiniWindow));
  EXPECT_EQ(settings.Get(opt::QuitFlag), 0);
}

TEST_F(WindowCallbackTest, TheDeactivationMessageEndsTheProgramAndLaterMessagesAreIgnored) {
  EXPECT_TRUE(callback.OnSystemMessage({SystemMessageKind::Registered, messages.Deactivate, 0}));
  EXPECT_EQ(settings.Get(opt::QuitFlag), 1);
  EXPECT_TRUE(stop.Raised());
  Volume(SystemMessageKind::VolumeArrival, 1u << 4);
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"");
}

TEST_F(WindowCallbackTest, AnExplorerRestartBringsTheTrayIconBack) {
  settings.Set(opt::TrayIconEnabled, 1);
  tray.BuildImages();
  tray.ShowIfEnabled();
  gui.TrayShown = false;  // Explorer forgot it
  EXPECT_FALSE(
      callback.OnSystemMessage({SystemMessageKind::Registered, messages.TaskbarCreated, 0}));
  EXPECT_TRUE(gui.TrayShown);
  EXPECT_EQ(gui.TrayAdds, 2);
}

}  // namespace
}  // namespace tarvik
