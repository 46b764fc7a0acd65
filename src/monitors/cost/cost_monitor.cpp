#include "monitors/cost/cost_monitor.h"

#include <algorithm>

#include "monitors/cost/cost_texts.h"

namespace tarvik {
namespace {

// Below normal: what it shows may wait for the monitors it measures.
constexpr int kCostPriority = 12;

}  // namespace

CostMonitor::CostMonitor(StopSignal& stop, CostSources sources, CostTargets targets)
    : MonitorThread(kName, kCostPriority, stop, sources.Clock, sources.Env),
      sources_(sources),
      targets_(std::move(targets)),
      processors_(std::max(sources.Env.LogicalProcessorCount(), 1)) {}

int CostMonitor::Pass(int64_t tickMs) {
  if (const auto time = sources_.Process.ProcessorTime()) {
    recent_.Add(tickMs, time->CpuTime);
    sinceStart_ = {time->CpuTime, time->AgeMs};
    if (watch_.Note(tickMs, recent_.Span(), processors_))
      targets_.RecordSystemEvent(HighCpuEventText(sources_.Passes.Totals(tickMs)));
  }
  const bool copy = targets_.Options.Get(opt::CopyRequest) == kAboutTabCopy;
  if (targets_.InView || copy)
    ShowReadout(tickMs);
  if (copy)
    targets_.CopyAboutTab();
  return kPassMs;
}

void CostMonitor::ShowReadout(int64_t tickMs) {
  std::vector<std::wstring> lines = OwnCostLines({.Recent = recent_.Span(),
                                                  .SinceStart = sinceStart_,
                                                  .Processors = processors_,
                                                  .Process = sources_.Process.Figures(),
                                                  .Passes = sources_.Passes.Totals(tickMs)});
  *targets_.Lines.Lock() = std::move(lines);
  targets_.Show();
}

}  // namespace tarvik
