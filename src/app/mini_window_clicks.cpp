#include "app/mini_window_clicks.h"

#include "ui/gadget_ids.h"

namespace tarvik {

using platform::EventKind;

MiniWindowClicks::MiniWindowClicks(platform::Gui& gui, Settings& settings, MeterTable& meters,
                                   EventDispatcher& dispatcher)
    : gui_(gui), settings_(settings), meters_(meters), dispatcher_(dispatcher) {}

void MiniWindowClicks::Install() {
  dispatcher_.Routes().On(gadget::MiniCanvas, platform::GadgetAction::Click,
                          [this](const platform::GuiEvent& event) { return OnClick(event.Mouse); });
}

LoopControl MiniWindowClicks::OnClick(platform::Point at) {
  std::optional<int> meter;
  {
    auto table = meters_.Lock();
    meter = MeterAt(*table, at, metrics_);
  }
  // The caption cells act exactly as the window's own buttons would.
  switch (meter.value_or(-1)) {
    case kMinimizeCellMeter:
      return dispatcher_.Dispatch({EventKind::Minimize, gadget::MiniWindow, 0, 0, {}});
    case kRestoreCellMeter:
      return dispatcher_.Dispatch({EventKind::Restore, gadget::MiniWindow, 0, 0, {}});
    case kCloseCellMeter:
      return dispatcher_.Dispatch({EventKind::Close, gadget::MiniWindow, 0, 0, {}});
    default:
      break;
  }
  const int panel = meter ? PanelOfMeter(*meter).value_or(gadget::SystemPanel) : StatusLinePanel();
  settings_.Set(opt::PanelSelectClicks, settings_.Get(opt::PanelSelectClicks) + 1);
  dispatcher_.ShowPanel(panel);
  return LoopControl::Continue;
}

int MiniWindowClicks::StatusLinePanel() const {
  const bool systemShown = gui_.IsWindowVisible(gadget::MainWindow) &&
                           !gui_.IsWindowMinimized(gadget::MainWindow) &&
                           gui_.SelectedPanelTab(gadget::MainPanel) == gadget::SystemPanel;
  return systemShown ? gadget::SettingsPanel : gadget::SystemPanel;
}

}  // namespace tarvik
