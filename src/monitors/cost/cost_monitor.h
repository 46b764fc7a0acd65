#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "core/guarded.h"
#include "core/monitor_thread.h"
#include "core/pass_ledger.h"
#include "core/settings.h"
#include "monitors/cost/high_cpu_watch.h"
#include "monitors/cost/recent_cpu.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/own_process.h"

namespace tarvik {

struct CostSources {
  platform::OwnProcess& Process;
  PassLedger& Passes;
  const platform::Clock& Clock;
  platform::Environment& Env;
};

// Where the cost monitor's results go; the callables run on its thread.
struct CostTargets {
  Settings& Options;
  Guarded<std::vector<std::wstring>>& Lines;  // the latest read-out, for the About tab
  const std::atomic<bool>& InView;            // set by the window thread while the tab shows
  std::function<void()> Show;                 // queues the read-out's redraw
  std::function<void(const std::wstring&)> RecordSystemEvent;
  std::function<void()> CopyAboutTab;  // serves the About tab's copy request
};

// Reads the program's own processor time every second, and tells the user once when it stays
// high; while the About tab shows (or is copied) it also reads the process's memory and counts
// and puts them in the read-out with every monitor's passes.
class CostMonitor : public MonitorThread {
 public:
  static constexpr const wchar_t* kName = L"cost monitor";
  static constexpr int kPassMs = 1'000;
  static constexpr int kAboutTabCopy = 7;

  CostMonitor(StopSignal& stop, CostSources sources, CostTargets targets);

  int Pass(int64_t tickMs) override;

 private:
  void ShowReadout(int64_t tickMs);

  CostSources sources_;
  CostTargets targets_;
  const int processors_;
  RecentCpu recent_;
  CpuSpan sinceStart_;
  HighCpuWatch watch_;
};

}  // namespace tarvik
