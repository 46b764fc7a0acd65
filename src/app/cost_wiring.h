#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "app/program_logs.h"
#include "app/window_update_applier.h"
#include "core/guarded.h"
#include "core/monitor_threads.h"
#include "core/panel_copy.h"
#include "core/pass_ledger.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/window_updates.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/gui.h"
#include "platform/own_process.h"

namespace tarvik {

struct CostPorts {
  platform::Gui& Gui;
  platform::OwnProcess& Process;
  const platform::Clock& Clock;
  platform::Environment& Env;
  Settings& Options;
  WindowUpdateQueue& Updates;
  ProgramLogs& Logs;
  Guarded<Paths>& Files;  // what the About tab's file panel reports, for its copy
};

// The cost monitor's place in the program: every monitor's pass lengths counted, the About
// tab's read-out drawn while the tab shows, the tab's copy, and the monitor's start.
class CostWiring {
 public:
  explicit CostWiring(CostPorts ports) : ports_(ports) {}

  // Before any monitor starts: every monitor's passes go to the ledger.
  void Install(MonitorThreads& threads, WindowUpdateApplier& applier, platform::FontId font);
  void Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy);
  // Window thread: the read-out is kept up to date only while it can be seen.
  void NotePanelInView(bool inView);
  // Window thread: draws the read-out as last made.
  void Show();

 private:
  PassLedger ledger_;
  CostPorts ports_;
  Guarded<std::vector<std::wstring>> lines_;
  std::atomic<bool> inView_{false};
  platform::FontId font_{};
};

}  // namespace tarvik
