#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/pass_ledger.h"
#include "monitors/cost/recent_cpu.h"
#include "platform/own_process.h"

namespace tarvik {

// Everything the About tab tells about the program's own cost at one moment.
struct OwnCost {
  CpuSpan Recent;      // about the last 10 s
  CpuSpan SinceStart;  // since the process started
  int Processors = 1;  // logical processors of the machine
  std::optional<platform::OwnProcessFigures> Process;
  std::vector<MonitorPassTotals> Passes;
};

// The read-out, one text per line: a heading, the processor shares, memory, the counts of
// threads, handles and GDI objects, then each monitor's passes and their time in the last minute.
[[nodiscard]] std::vector<std::wstring> OwnCostLines(const OwnCost& cost);

// The System event for use above the limit for long, naming the monitor whose passes took the
// most time in the last five minutes.
[[nodiscard]] std::wstring HighCpuEventText(const std::vector<MonitorPassTotals>& passes);

}  // namespace tarvik
