#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/gadget_routes.h"
#include "app/program_logs.h"
#include "app/window_update_applier.h"
#include "core/guarded.h"
#include "core/list_model.h"
#include "core/meter_table.h"
#include "core/monitor_threads.h"
#include "core/panel_copy.h"
#include "core/settings.h"
#include "core/window_updates.h"
#include "monitors/gpu/gpu_readings.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/gui.h"
#include "platform/nvml.h"
#include "ui/history_graph.h"
#include "ui/mini_window.h"

namespace tarvik {

struct GpuPorts {
  platform::Gui& Gui;
  const platform::Clock& Clock;
  platform::Environment& Env;
  Settings& Options;
  MeterTable& Meters;
  WindowUpdateQueue& Updates;
  ProgramLogs& Logs;
  ListModel& Summaries;  // the Graphics tab's dated list of the selected card's summaries
  MiniWindow& Mini;
  GraphStore& Graphs;
  platform::NvmlLoader LoadNvml;
  // Shows the hover read-out of a graph at a pixel column of its canvas.
  std::function<void(int graph, int mouseX)> ShowReadout;
};

// The GPU monitor's place in the program: loading the library at start, the Graphics tab's
// detail list (or the requirements without a usable library), its card selector and graphs,
// its copy, and the monitor's start, only with a usable library.
class GpuWiring {
 public:
  explicit GpuWiring(GpuPorts ports) : ports_(std::move(ports)) {}

  // Loads and starts the library; false when there is none that can serve.
  bool LoadLibrary();
  // The window thread's side: the detail list and the selector follow the monitor's readings,
  // choosing a card shows its graphs.
  void Install(GadgetRoutes& routes, WindowUpdateApplier& applier);
  void Start(MonitorThreads& threads, StopSignal& stop, platform::FontId graphFont,
             PanelCopyServer serveCopy);
  // Draws the selected card's graphs while the Graphics tab shows.
  void ShowGraphs();
  // What the monitor last read.
  [[nodiscard]] Guarded<GpuReadings>& SharedReadings() { return readings_; }

 private:
  void ShowDetails();
  void FillSelector();
  void FollowChosenCard();
  [[nodiscard]] std::wstring GraphicsTabCopy();

  GpuPorts ports_;
  // Stays loaded until the process ends: the monitor may be abandoned inside it at shut-down.
  std::unique_ptr<platform::NvmlLibrary> library_;
  std::optional<NvmlSystem> system_;
  Guarded<GpuReadings> readings_;
};

}  // namespace tarvik
