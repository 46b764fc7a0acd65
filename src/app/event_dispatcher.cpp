#include "app/event_dispatcher.h"

#include "core/error_signal.h"
#include "ui/gadget_ids.h"
#include "ui/window_placement.h"

namespace tarvik {

using platform::EventKind;
using platform::ShowMode;

EventDispatcher::EventDispatcher(platform::Gui& gui, Settings& settings, TextSlots& texts,
                                 platform::Environment& environment, const TrayIcon& tray)
    : gui_(gui), settings_(settings), texts_(texts), environment_(environment), tray_(tray) {}

LoopControl EventDispatcher::Dispatch(const platform::GuiEvent& event) {
  switch (event.Kind) {
    case EventKind::Close:
      return OnClose(event.Window);
    case EventKind::Minimize:
      OnMinimize(event.Window);
      break;
    case EventKind::Restore:
      OnRestore(event.Window);
      break;
    case EventKind::Move:
      OnMove(event.Window);
      break;
    case EventKind::DisplayChanged:
      OnDisplayChanged(event.Window);
      break;
    case EventKind::Rescaled:
      if (onRescaled_)
        onRescaled_(event.Window);
      break;
    case EventKind::Tray:
      OnTray(static_cast<platform::TrayAction>(event.Detail));
      break;
    case EventKind::Shortcut:
      OnShortcut(event.Window, static_cast<Command>(event.Detail));
      break;
    case EventKind::Gadget:
      return routes_.Route(event);
    default:
      break;
  }
  return LoopControl::Continue;
}

LoopControl EventDispatcher::OnClose(int window) {
  if (window == gadget::MiniWindow) {
    // Shift held always exits, so the program can be ended even while it closes to the tray.
    // Without a tray icon a hidden window could never be brought back: it is minimised instead.
    if (settings_.IsOn(opt::CloseToTray) && !gui_.IsShiftDown()) {
      gui_.ShowWindow(gadget::MiniWindow, CanHideToTray() ? ShowMode::Hide : ShowMode::Minimize);
      return LoopControl::Continue;
    }
    return LoopControl::Exit;
  }
  if (window == gadget::MainWindow) {
    gui_.ShowWindow(gadget::MainWindow, ShowMode::Hide);
    if (saveOnClose_)
      saveOnClose_();
  }
  return LoopControl::Continue;
}

void EventDispatcher::OnMinimize(int window) {
  if (window == gadget::MiniWindow) {
    const bool toTray = settings_.IsOn(opt::MinimizeToTray) && CanHideToTray();
    gui_.ShowWindow(window, toTray ? ShowMode::Hide : ShowMode::Minimize);
  } else if (window == gadget::MainWindow) {
    gui_.ShowWindow(window, ShowMode::Hide);
  }
}

void EventDispatcher::OnRestore(int window) {
  if (window != gadget::MiniWindow) {
    gui_.ShowWindow(window, ShowMode::Normal);
    return;
  }
  gui_.ShowWindow(gadget::MiniWindow, ShowMode::Normal);
  gui_.ShowWindow(gadget::MainWindow, ShowMode::Show);
  if (CurrentPanel() == gadget::SettingsPanel) {
    gui_.SelectPanelTab(gadget::MainPanel, gadget::SystemPanel);
    gui_.SelectPanelTab(gadget::MainPanel, gadget::SettingsPanel);
  }
  gui_.RaiseWindow(gadget::MainWindow);
}

// A minimised window is parked far off-screen; that place is not the user's and is never stored.
void EventDispatcher::OnMove(int window) {
  if (gui_.IsWindowMinimized(window))
    return;
  const platform::Rect bounds = gui_.WindowBounds(window);
  if (window == gadget::MiniWindow) {
    settings_.Set(opt::MiniX, bounds.X);
    settings_.Set(opt::MiniY, bounds.Y);
  } else if (window == gadget::MainWindow) {
    settings_.Set(opt::MainX, bounds.X);
    settings_.Set(opt::MainY, bounds.Y);
  }
}

// A display, a monitor or the taskbar changed: a window left outside the work areas (its
// monitor unplugged, the resolution lowered) comes back inside the nearest one, as at start,
// and that place is kept.
void EventDispatcher::OnDisplayChanged(int window) {
  if (window != gadget::MainWindow && window != gadget::MiniWindow)
    return;
  const platform::Rect bounds = gui_.WindowBounds(window);
  const platform::Point inside = InsideWorkArea(bounds, gui_.WorkAreaOf(window));
  if (inside == platform::Point{bounds.X, bounds.Y})
    return;
  gui_.MoveWindow(window, inside);
  OnMove(window);
}

void EventDispatcher::OnTray(platform::TrayAction action) {
  switch (action) {
    case platform::TrayAction::LeftClick:
      if (settings_.IsOn(opt::SingleClickTray))
        ShowMiniWindow();
      break;
    case platform::TrayAction::LeftDoubleClick:
      ShowMiniWindow();
      break;
    case platform::TrayAction::RightClick:
      ShowMainWindowSettings();
      break;
  }
}

void EventDispatcher::OnCommand(Command command, int panel, std::function<void()> handler) {
  commands_[{command, panel}].push_back(std::move(handler));
}

// The built-in meaning first, then what subsystems added for the main window's panels.
void EventDispatcher::OnShortcut(int window, Command command) {
  RunBuiltIn(window, command);
  if (window != gadget::MainWindow)
    return;
  RunRegistered(command, kEveryPanel);
  if (const int panel = CurrentPanel(); panel != kEveryPanel)
    RunRegistered(command, panel);
}

void EventDispatcher::RunRegistered(Command command, int panel) {
  const auto served = commands_.find({command, panel});
  if (served == commands_.end())
    return;
  for (const auto& handler : served->second)
    handler();
}

void EventDispatcher::RunBuiltIn(int window, Command command) {
  switch (command) {
    case Command::Refresh:
      Refresh(window);
      break;
    case Command::Reset:
      Reset(window);
      break;
    case Command::CopyPanel:
      CopyPanel();
      break;
    case Command::NextPanel:
      StepPanel(1);
      break;
    case Command::PreviousPanel:
      StepPanel(-1);
      break;
    default:
      Nudge(NudgeStep(command));
      break;
  }
}

void EventDispatcher::Refresh(int window) {
  if (window == gadget::MiniWindow) {
    settings_.Request(opt::StorageRefreshRequest);
    settings_.Request(opt::NetworkRefreshRequest);
    return;
  }
  switch (CurrentPanel()) {
    case gadget::SystemPanel:
      if (onSystemRefresh_)
        onSystemRefresh_();
      settings_.Request(opt::RereadSystemTextRequest);
      break;
    case gadget::GraphicsPanel:
      settings_.Request(opt::GpuRefreshRequest);
      break;
    case gadget::StoragePanel:
      settings_.Request(opt::StorageRefreshRequest);
      break;
    case gadget::NetworksPanel:
      settings_.Request(opt::NetworkRefreshRequest);
      break;
    default:
      break;
  }
}

void EventDispatcher::Reset(int window) {
  if (window == gadget::MiniWindow) {
    settings_.Request(opt::StorageRefreshRequest);
    settings_.Request(opt::StorageResetRequest);
    return;
  }
  switch (CurrentPanel()) {
    case gadget::SystemPanel:
      settings_.Request(opt::ResetSystemPanelRequest);
      break;
    case gadget::GraphicsPanel:
      settings_.Toggle(opt::GpuShowErrors);
      settings_.Request(opt::GpuRefreshRequest);
      break;
    case gadget::NetworksPanel:
      settings_.Request(opt::NetworkRefreshRequest);
      settings_.Request(opt::NetworkResetRequest);
      break;
    case gadget::PingPanel:
      settings_.Set(opt::PingShowsAddresses, 0);
      break;
    default:
      break;
  }
}

void EventDispatcher::Nudge(platform::Point step) {
  if (step == platform::Point{0, 0})
    return;
  const platform::Rect bounds = gui_.WindowBounds(gadget::MiniWindow);
  const platform::Point current{settings_.Get(opt::MiniX), settings_.Get(opt::MiniY)};
  const NudgeResult result =
      NudgeMiniWindow(current, step, {bounds.Width, bounds.Height}, gui_.DesktopSize());
  if (result.Refused) {
    ErrorSignal(settings_, environment_);
    return;
  }
  settings_.Set(opt::MiniX, result.Position.X);
  settings_.Set(opt::MiniY, result.Position.Y);
  gui_.MoveWindow(gadget::MiniWindow, result.Position);
}

void EventDispatcher::CopyPanel() {
  const int panel = CurrentPanel();
  const bool monitorPanel = panel >= gadget::SystemPanel && panel <= gadget::PingPanel;
  if (!monitorPanel && panel != gadget::AboutPanel)
    return;
  texts_.Set(slot::CopyText, L"");
  settings_.Request(opt::CopyRequest, panel);
}

void EventDispatcher::StepPanel(int delta) {
  const int count = gadget::kPanelCount;
  gui_.SelectPanelTab(gadget::MainPanel, ((CurrentPanel() + delta) % count + count) % count);
}

void EventDispatcher::ShowMiniWindow() {
  gui_.ShowWindow(gadget::MiniWindow, ShowMode::Normal);
}

void EventDispatcher::ShowMainWindowSettings() {
  gui_.ShowWindow(gadget::MainWindow, ShowMode::Normal);
  gui_.SelectPanelTab(gadget::MainPanel, gadget::SystemPanel);
  gui_.SelectPanelTab(gadget::MainPanel, gadget::SettingsPanel);
  gui_.RaiseWindow(gadget::MainWindow);
}

void EventDispatcher::ShowPanel(int panel) {
  gui_.ShowWindow(gadget::MainWindow, ShowMode::Normal);
  gui_.SelectPanelTab(gadget::MainPanel, panel);
  gui_.RaiseWindow(gadget::MainWindow);
}

bool EventDispatcher::CanHideToTray() const {
  return tray_.IsShown();
}

int EventDispatcher::CurrentPanel() const {
  return gui_.SelectedPanelTab(gadget::MainPanel);
}

}  // namespace tarvik
