#include <gtest/gtest.h>

#include "app/event_dispatcher.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

using platform::EventKind;
using platform::GuiEvent;

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() {
    platform::WindowSpec mini;
    mini.Bounds = {1000, 500, 240, 110};
    gui.OpenWindow(gadget::MiniWindow, mini);
    platform::WindowSpec main;
    main.Bounds = {100, 100, 900, 590};
    gui.OpenWindow(gadget::MainWindow, main);
    gui.CreatePanel(gadget::MainPanel, {gadget::MainWindow}, {2, 2, 890, 560},
                    std::vector<std::wstring>(gadget::kPanelCount, L"tab"));
    settings.Set(opt::MiniX, 1000);
    settings.Set(opt::MiniY, 500);
    settings.Set(opt::CopyRequest, -1);
    settings.Set(opt::TrayIconEnabled, 1);
    tray.BuildImages();
    tray.ShowIfEnabled();
  }

  LoopControl Send(EventKind kind, int window, int detail = 0) {
    return dispatcher.Dispatch(GuiEvent{kind, window, 0, detail, {}});
  }
  LoopControl Press(int window, Command command) {
    return Send(EventKind::Shortcut, window, static_cast<int>(command));
  }
  void ShowPanel(int panel) { gui.SelectPanelTab(gadget::MainPanel, panel); }

  fakes::FakeGui gui;
  fakes::FakeEnvironment environment;
  Settings settings;
  TextSlots texts;
  TrayIcon tray{gui, settings};
  EventDispatcher dispatcher{gui, settings, texts, environment, tray};
};

int NonZeroEntries(const Settings& settings) {
  int count = 0;
  for (int index = 0; index < Settings::kCount; ++index)
    count += settings.Get(index) != 0;
  return count;
}

TEST_F(DispatcherTest, RefreshAndResetServeTheMiniWindowOrTheShownPanelOnly) {
  struct Case {
    int Panel;
    Command Pressed;
    std::vector<int> Requests;
    int Window = gadget::MainWindow;
  };
  const Case cases[] = {
      {gadget::SystemPanel,
       Command::Refresh,
       {opt::StorageRefreshRequest, opt::NetworkRefreshRequest},
       gadget::MiniWindow},
      {gadget::SystemPanel,
       Command::Reset,
       {opt::StorageRefreshRequest, opt::StorageResetRequest},
       gadget::MiniWindow},
      {gadget::SystemPanel, Command::Refresh, {opt::RereadSystemTextRequest}},
      {gadget::GraphicsPanel, Command::Refresh, {opt::GpuRefreshRequest}},
      {gadget::StoragePanel, Command::Refresh, {opt::StorageRefreshRequest}},
      {gadget::NetworksPanel, Command::Refresh, {opt::NetworkRefreshRequest}},
      {gadget::SettingsPanel, Command::Refresh, {}},
      {gadget::SystemPanel, Command::Reset, {opt::ResetSystemPanelRequest}},
      {gadget::GraphicsPanel, Command::Reset, {opt::GpuShowErrors, opt::GpuRefreshRequest}},
      {gadget::StoragePanel, Command::Reset, {}},
      {gadget::NetworksPanel,
       Command::Reset,
       {opt::NetworkRefreshRequest, opt::NetworkResetRequest}},
      {gadget::AboutPanel, Command::Reset, {}},
  };
  for (const Case& entry : cases) {
    Settings fresh;
    EventDispatcher local(gui, fresh, texts, environment, tray);
    ShowPanel(entry.Panel);
    static_cast<void>(local.Dispatch(
        {EventKind::Shortcut, entry.Window, 0, static_cast<int>(entry.Pressed), {}}));
    for (const int request : entry.Requests) {
      EXPECT_EQ(fresh.Get(request), 1) << "panel " << entry.Panel << ", entry " << request;
    }
    EXPECT_EQ(NonZeroEntries(fresh), static_cast<int>(entry.Requests.size()))
        << "panel " << entry.Panel;
  }
}

TEST_F(DispatcherTest, ResetOnTheGraphicsPanelTogglesTheErrorView) {
  ShowPanel(gadget::GraphicsPanel);
  Press(gadget::MainWindow, Command::Reset);
  EXPECT_EQ(settings.Get(opt::GpuShowErrors), 1);
  Press(gadget::MainWindow, Command::Reset);
  EXPECT_EQ(settings.Get(opt::GpuShowErrors), 0);
}

TEST_F(DispatcherTest, CtrlTabWrapsAroundTheEightPanels) {
  ShowPanel(gadget::AboutPanel);
  Press(gadget::MainWindow, Command::NextPanel);
  EXPECT_EQ(gui.SelectedPanelTab(gadget::MainPanel), gadget::SystemPanel);
  Press(gadget::MainWindow, Command::PreviousPanel);
  EXPECT_EQ(gui.SelectedPanelTab(gadget::MainPanel), gadget::AboutPanel);
  Press(gadget::MainWindow, Command::PreviousPanel);
  EXPECT_EQ(gui.SelectedPanelTab(gadget::MainPanel), gadget::SettingsPanel);
}

TEST_F(DispatcherTest, CopyAsksForTheMonitorPanelsAndAboutOnly) {
  texts.Set(slot::CopyText, L"old copy");
  ShowPanel(gadget::PingPanel);
  Press(gadget::MainWindow, Command::CopyPanel);
  EXPECT_EQ(settings.Get(opt::CopyRequest), gadget::PingPanel);
  EXPECT_EQ(texts.Get(slot::CopyText), L"");

  settings.Set(opt::CopyRequest, -1);
  ShowPanel(gadget::SettingsPanel);
  Press(gadget::MainWindow, Command::CopyPanel);
  EXPECT_EQ(settings.Get(opt::CopyRequest), -1);

  ShowPanel(gadget::AboutPanel);
  Press(gadget::MainWindow, Command::CopyPanel);
  EXPECT_EQ(settings.Get(opt::CopyRequest), gadget::AboutPanel);
}

TEST_F(DispatcherTest, KeyboardMovesOfTheMiniWindowStayOnTheDesktop) {
  settings.Set(opt::MiniX, 5);
  Press(gadget::MiniWindow, Command::NudgeLeftFar);
  EXPECT_EQ(settings.Get(opt::MiniX), 0);
  EXPECT_EQ(gui.WindowBounds(gadget::MiniWindow).X, 0);

  Press(gadget::MainWindow, Command::NudgeDown);
  EXPECT_EQ(settings.Get(opt::MiniY), 501);
  EXPECT_EQ(gui.WindowBounds(gadget::MiniWindow).Y, 501);
}

TEST_F(DispatcherTest, APixelStepPastTheRightEdgeIsRefusedWithTheErrorSound) {
  settings.Set(opt::SoundEnabled, 1);
  settings.Set(opt::MiniX, 1280 - 240);
  Press(gadget::MiniWindow, Command::NudgeRight);
  EXPECT_EQ(settings.Get(opt::MiniX), 1280 - 240);
  ASSERT_EQ(environment.Beeps.size(), 1u);
  EXPECT_EQ(environment.Beeps[0], std::make_pair(1000, 55));

  Press(gadget::MiniWindow, Command::NudgeRightFar);  // ten-pixel steps stop at the edge
  EXPECT_EQ(settings.Get(opt::MiniX), 1280 - 240);
  EXPECT_EQ(environment.Beeps.size(), 1u);
}

TEST_F(DispatcherTest, ClosingTheMiniWindowEndsTheProgramUnlessItClosesToTheTray) {
  EXPECT_EQ(Send(EventKind::Close, gadget::MiniWindow), LoopControl::Exit);

  settings.Set(opt::CloseToTray, 1);
  EXPECT_EQ(Send(EventKind::Close, gadget::MiniWindow), LoopControl::Continue);
  EXPECT_FALSE(gui.IsWindowVisible(gadget::MiniWindow));

  gui.ShiftDown = true;  // Shift always ends it
  EXPECT_EQ(Send(EventKind::Close, gadget::MiniWindow), LoopControl::Exit);
}

// A window hidden with no tray icon to bring it back would be lost until the program restarts.
TEST_F(DispatcherTest, WithoutATrayIconTheTrayOptionsMinimizeInstead) {
  tray.Remove();
  settings.Set(opt::CloseToTray, 1);
  EXPECT_EQ(Send(EventKind::Close, gadget::MiniWindow), LoopControl::Continue);
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MiniWindow));
  EXPECT_TRUE(gui.IsWindowMinimized(gadget::MiniWindow));

  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Normal);
  settings.Set(opt::MinimizeToTray, 1);
  Send(EventKind::Minimize, gadget::MiniWindow);
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MiniWindow));
  EXPECT_TRUE(gui.IsWindowMinimized(gadget::MiniWindow));
}

TEST_F(DispatcherTest, ClosingTheMainWindowHidesItAndSavesTheSettings) {
  int saves = 0;
  dispatcher.SetSaveOnClose([&] { ++saves; });
  EXPECT_EQ(Send(EventKind::Close, gadget::MainWindow), LoopControl::Continue);
  EXPECT_FALSE(gui.IsWindowVisible(gadget::MainWindow));
  EXPECT_EQ(saves, 1);
}

TEST_F(DispatcherTest, MinimizingFollowsTheTrayOption) {
  settings.Set(opt::MinimizeToTray, 1);
  Send(EventKind::Minimize, gadget::MiniWindow);
  EXPECT_FALSE(gui.IsWindowVisible(gadget::MiniWindow));

  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Normal);
  settings.Set(opt::MinimizeToTray, 0);
  Send(EventKind::Minimize, gadget::MiniWindow);
  EXPECT_TRUE(gui.IsWindowMinimized(gadget::MiniWindow));

  Send(EventKind::Minimize, gadget::MainWindow);
  EXPECT_FALSE(gui.IsWindowVisible(gadget::MainWindow));
}

TEST_F(DispatcherTest, RestoringTheMiniWindowBringsBackTheMainWindowAndRebuildsSettings) {
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Minimize);
  gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Hide);
  ShowPanel(gadget::SettingsPanel);
  Send(EventKind::Restore, gadget::MiniWindow);
  EXPECT_FALSE(gui.IsWindowMinimized(gadget::MiniWindow));
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MainWindow));
  EXPECT_EQ(gui.SelectedPanelTab(gadget::MainPanel), gadget::SettingsPanel);
  EXPECT_EQ(gui.Windows[gadget::MainWindow].Raised, 1);
}

TEST_F(DispatcherTest, MovesAreRememberedPerWindow) {
  gui.MoveWindow(gadget::MainWindow, {33, 44});
  Send(EventKind::Move, gadget::MainWindow);
  EXPECT_EQ(settings.Get(opt::MainX), 33);
  EXPECT_EQ(settings.Get(opt::MainY), 44);
  EXPECT_EQ(settings.Get(opt::MiniX), 1000);
}

// A monitor unplugged (or the resolution lowered) leaves a window outside every work area: it
// comes back inside the nearest one and that place is remembered; a window inside stays put.
TEST_F(DispatcherTest, AfterADisplayChangeEachWindowIsBackInsideTheWorkArea) {
  gui.Work = {0, 0, 1280, 760};
  struct Case {
    const char* Name;
    int Window;
    platform::Point At;
    platform::Point Expected;
  };
  const Case cases[] = {
      {"main window on a monitor gone to the right", gadget::MainWindow, {2000, 300}, {380, 170}},
      {"main window on a monitor gone to the left", gadget::MainWindow, {-1500, -200}, {0, 0}},
      {"main window sticking out below by one", gadget::MainWindow, {100, 171}, {100, 170}},
      {"main window just inside stays", gadget::MainWindow, {380, 170}, {380, 170}},
      {"mini window on a monitor gone below", gadget::MiniWindow, {1000, 900}, {1000, 650}},
      {"mini window at the edge stays", gadget::MiniWindow, {1040, 650}, {1040, 650}},
  };
  const int xOption[] = {opt::MiniX, opt::MainX};
  for (const Case& c : cases) {
    gui.MoveWindow(c.Window, c.At);
    const int x = xOption[c.Window == gadget::MainWindow];
    settings.Set(x, c.At.X);
    Send(EventKind::DisplayChanged, c.Window);
    const platform::Rect bounds = gui.WindowBounds(c.Window);
    EXPECT_EQ((platform::Point{bounds.X, bounds.Y}), c.Expected) << c.Name;
    EXPECT_EQ(settings.Get(x), c.Expected.X) << c.Name;
  }
}

// Windows parks a minimised window at (-32000, -32000); that is never the place to remember,
// and keyboard moves made meanwhile start from the remembered place.
TEST_F(DispatcherTest, AMinimizedMiniWindowKeepsItsPlace) {
  gui.ReportParkingPlace = true;
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Minimize);
  Send(EventKind::Move, gadget::MiniWindow);
  EXPECT_EQ(settings.Get(opt::MiniX), 1000);
  EXPECT_EQ(settings.Get(opt::MiniY), 500);

  Press(gadget::MainWindow, Command::NudgeLeft);
  EXPECT_EQ(settings.Get(opt::MiniX), 999);
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Normal);
  EXPECT_EQ(gui.WindowBounds(gadget::MiniWindow).X, 999);
  EXPECT_EQ(gui.WindowBounds(gadget::MiniWindow).Y, 500);
}

TEST_F(DispatcherTest, GadgetEventsReachEveryHandlerRegisteredForThem) {
  std::vector<platform::Point> clicks;
  int heardByTheSecond = 0;
  dispatcher.Routes().On(gadget::MiniCanvas, platform::GadgetAction::Click,
                         [&](const GuiEvent& event) {
                           clicks.push_back(event.Mouse);
                           return LoopControl::Exit;
                         });
  dispatcher.Routes().On(gadget::MiniCanvas, platform::GadgetAction::Click, [&](const GuiEvent&) {
    ++heardByTheSecond;
    return LoopControl::Continue;
  });
  const auto gadgetEvent = [](int gadgetId, platform::GadgetAction action) {
    return GuiEvent{
        EventKind::Gadget, gadget::MiniWindow, gadgetId, static_cast<int>(action), {7, 9}};
  };
  EXPECT_EQ(dispatcher.Dispatch(gadgetEvent(gadget::MiniCanvas, platform::GadgetAction::Click)),
            LoopControl::Exit);
  EXPECT_EQ(
      dispatcher.Dispatch(gadgetEvent(gadget::MiniCanvas, platform::GadgetAction::RightClick)),
      LoopControl::Continue);
  EXPECT_EQ(dispatcher.Dispatch(gadgetEvent(gadget::MainPanel, platform::GadgetAction::Click)),
            LoopControl::Continue);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], (platform::Point{7, 9}));
  EXPECT_EQ(heardByTheSecond, 1);
}

// Keys that subsystems serve add up with each other and with the key's own meaning: a handler
// for one panel hears the key only there, one for every panel hears it in the main window.
TEST_F(DispatcherTest, RegisteredKeysAddUpPerPanel) {
  std::vector<std::wstring> heard;
  const auto note = [&heard](std::wstring who) { return [&heard, who] { heard.push_back(who); }; };
  dispatcher.OnCommand(Command::Refresh, gadget::StoragePanel, note(L"drives"));
  dispatcher.OnCommand(Command::Refresh, gadget::PingPanel, note(L"ping"));
  dispatcher.OnCommand(Command::Refresh, gadget::StoragePanel, note(L"drives again"));
  dispatcher.OnCommand(Command::ToggleGraphSmoothing, EventDispatcher::kEveryPanel,
                       note(L"graphs"));
  struct Case {
    int Window;
    int Panel;
    Command Pressed;
    std::vector<std::wstring> Heard;
    bool StorageRefresh;  // the key's own meaning still happens
  };
  const Case cases[] = {
      {gadget::MainWindow,
       gadget::StoragePanel,
       Command::Refresh,
       {L"drives", L"drives again"},
       true},
      {gadget::MainWindow, gadget::PingPanel, Command::Refresh, {L"ping"}, false},
      {gadget::MainWindow, gadget::SystemPanel, Command::Refresh, {}, false},
      {gadget::MiniWindow, gadget::StoragePanel, Command::Refresh, {}, true},
      {gadget::MainWindow, gadget::AboutPanel, Command::ToggleGraphSmoothing, {L"graphs"}, false},
  };
  for (const Case& c : cases) {
    heard.clear();
    settings.Set(opt::StorageRefreshRequest, 0);
    ShowPanel(c.Panel);
    Press(c.Window, c.Pressed);
    EXPECT_EQ(heard, c.Heard) << c.Panel;
    EXPECT_EQ(settings.IsOn(opt::StorageRefreshRequest), c.StorageRefresh) << c.Panel;
  }
}

TEST_F(DispatcherTest, TrayClicksOpenTheWindows) {
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Minimize);
  settings.Set(opt::SingleClickTray, 0);
  Send(EventKind::Tray, gadget::MiniWindow, static_cast<int>(platform::TrayAction::LeftClick));
  EXPECT_TRUE(gui.IsWindowMinimized(gadget::MiniWindow));
  Send(EventKind::Tray, gadget::MiniWindow,
       static_cast<int>(platform::TrayAction::LeftDoubleClick));
  EXPECT_FALSE(gui.IsWindowMinimized(gadget::MiniWindow));

  gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Hide);
  Send(EventKind::Tray, gadget::MiniWindow, static_cast<int>(platform::TrayAction::RightClick));
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MainWindow));
  EXPECT_EQ(gui.SelectedPanelTab(gadget::MainPanel), gadget::SettingsPanel);
}

}  // namespace
}  // namespace tarvik
