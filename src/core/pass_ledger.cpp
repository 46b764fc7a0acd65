#include "core/pass_ledger.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr int64_t kMsPerSecond = 1'000;

size_t SlotOf(int64_t second) {
  const int64_t kept = PassLedger::kSecondsKept;
  return static_cast<size_t>(((second % kept) + kept) % kept);
}

}  // namespace

void PassLedger::Record(const std::wstring& monitor, int64_t tickMs, int64_t durationUs) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = std::find_if(monitors_.begin(), monitors_.end(),
                            [&](const Monitor& known) { return known.Name == monitor; });
  if (found == monitors_.end())
    found = monitors_.insert(monitors_.end(), Monitor{monitor, {}});
  const int64_t second = tickMs / kMsPerSecond;
  Second& slot = found->Seconds[SlotOf(second)];
  if (slot.Number != second)
    slot = {second, 0, 0};
  ++slot.Passes;
  slot.BusyUs += std::max<int64_t>(durationUs, 0);
}

std::vector<MonitorPassTotals> PassLedger::Totals(int64_t tickMs) {
  const int64_t now = tickMs / kMsPerSecond;
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<MonitorPassTotals> totals;
  for (const Monitor& monitor : monitors_) {
    MonitorPassTotals total{monitor.Name};
    for (const Second& second : monitor.Seconds) {
      const int64_t age = now - second.Number;
      if (second.Passes == 0 || age < 0 || age >= kSecondsKept)
        continue;
      total.BusyUsLastFiveMinutes += second.BusyUs;
      if (age < kMinuteSeconds) {
        total.PassesLastMinute += second.Passes;
        total.BusyUsLastMinute += second.BusyUs;
      }
    }
    totals.push_back(std::move(total));
  }
  return totals;
}

}  // namespace tarvik
