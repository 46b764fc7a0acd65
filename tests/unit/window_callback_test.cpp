#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/window_callback.h"
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
    callback.EndStartUp();
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

// The storage monitor takes the pending letters on its own thread while arrivals keep coming:
// every letter must reach it exactly once.
TEST_F(WindowCallbackTest, PendingLettersAreNeitherLostNorDoubledWhileTheStorageMonitorTakesThem) {
  constexpr int kArrivals = 20'000;
  std::atomic<bool> done{false};
  size_t taken = 0;
  std::thread storage([&] {
    while (!done.load())
      taken += texts.Exchange(slot::PendingDrives, L"").size();
  });
  for (int arrival = 0; arrival < kArrivals; ++arrival)
    Volume(SystemMessageKind::VolumeArrival, 1u << (arrival % 26));
  done = true;
  storage.join();
  taken += texts.Exchange(slot::PendingDrives, L"").size();
  EXPECT_EQ(taken, static_cast<size_t>(kArrivals));
}

TEST_F(WindowCallbackTest, RemovedVolumesLeaveThePendingTextAndAskStorageForALookWhileItRuns) {
  texts.Set(slot::PendingDrives, L"DEF");
  Volume(SystemMessageKind::VolumeRemoval, 1u << 4);
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"DF");
  EXPECT_EQ(settings.Get(opt::DriveChangeRequest), 0);

  storageRunning = true;
  Volume(SystemMessageKind::VolumeRemoval, 1u << 3);
  EXPECT_EQ(texts.Get(slot::PendingDrives), L"F");
  EXPECT_EQ(settings.Get(opt::DriveChangeRequest), 1);
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

// The quit message can come in the first moments after the first window appears, while the
// program still starts: it is kept and acted on once start-up ends, never lost.
TEST(WindowCallbackStartUp, AQuitRequestDuringStartUpIsKeptUntilStartUpEnds) {
  fakes::FakeGui gui;
  Settings settings;
  TextSlots texts;
  StopSignal stop{settings};
  TrayIcon tray{gui, settings};
  const RegisteredMessages messages{0xC001, 0xC002, 0xC003};
  WindowCallback starting{gui, settings, texts, stop, tray, messages};
  EXPECT_TRUE(starting.OnSystemMessage({SystemMessageKind::Registered, messages.Deactivate, 0}));
  EXPECT_EQ(settings.Get(opt::QuitFlag), 0);
  EXPECT_FALSE(stop.Raised());
  starting.EndStartUp();
  EXPECT_EQ(settings.Get(opt::QuitFlag), 1);
  EXPECT_TRUE(stop.Raised());

  Settings quiet;
  StopSignal quietStop{quiet};
  WindowCallback uneventful{gui, quiet, texts, quietStop, tray, messages};
  uneventful.EndStartUp();
  EXPECT_EQ(quiet.Get(opt::QuitFlag), 0);
  EXPECT_FALSE(quietStop.Raised());
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

TEST_F(WindowCallbackTest, AWindowHiddenInTheTrayIsShownWhenItsIconCannotComeBack) {
  struct Case {
    const char* Name;
    bool IconOption;
    bool Refused;
    bool Hidden;
    bool ShownAfter;
  };
  const Case cases[] = {
      {"icon back", true, false, true, false},
      {"icon refused", true, true, true, true},
      {"icon switched off", false, false, true, true},
      {"window in view", true, true, false, true},
  };
  for (const Case& c : cases) {
    settings.Set(opt::TrayIconEnabled, c.IconOption ? 1 : 0);
    gui.TrayRefused = c.Refused;
    gui.ShowWindow(gadget::MiniWindow,
                   c.Hidden ? platform::ShowMode::Hide : platform::ShowMode::Normal);
    tray.BuildImages();
    EXPECT_FALSE(
        callback.OnSystemMessage({SystemMessageKind::Registered, messages.TaskbarCreated, 0}));
    EXPECT_EQ(gui.IsWindowVisible(gadget::MiniWindow), c.ShownAfter) << c.Name;
  }
}

}  // namespace
}  // namespace tarvik
