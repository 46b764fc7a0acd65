#pragma once

#include "app/event_dispatcher.h"
#include "core/meter_table.h"
#include "core/settings.h"
#include "platform/gui.h"
#include "ui/mini_cells.h"

namespace tarvik {

// Left clicks on the mini window's canvas: a meter's cell opens the main-window panel that shows
// more about it, a click beside the cells (the status line) opens the System panel or, when that
// already shows, the Settings panel, and in compact mode the caption cells "[-]", "[+]" and
// "[X]" act as the missing title bar's buttons. Every click that opened a panel is counted.
class MiniWindowClicks {
 public:
  MiniWindowClicks(platform::Gui& gui, Settings& settings, MeterTable& meters,
                   EventDispatcher& dispatcher);

  // Registers the canvas's click handler with the dispatcher.
  void Install();
  void SetMetrics(const CellMetrics& metrics) { metrics_ = metrics; }

  [[nodiscard]] LoopControl OnClick(platform::Point at);

 private:
  [[nodiscard]] int StatusLinePanel() const;

  platform::Gui& gui_;
  Settings& settings_;
  MeterTable& meters_;
  EventDispatcher& dispatcher_;
  CellMetrics metrics_;
};

}  // namespace tarvik
