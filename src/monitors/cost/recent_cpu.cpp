#include "monitors/cost/recent_cpu.h"

#include <algorithm>

namespace tarvik {
namespace {

// 100 ns units in a millisecond.
constexpr uint64_t kCpuUnitsPerMs = 10'000;
constexpr uint64_t kWholePercent = 100;

}  // namespace

void RecentCpu::Add(int64_t tickMs, uint64_t cpuTime) {
  readings_.push_back({tickMs, cpuTime});
  while (readings_.size() > 2 && readings_[1].TickMs <= tickMs - kSpanMs)
    readings_.pop_front();
}

CpuSpan RecentCpu::Span() const {
  if (readings_.empty())
    return {};
  const Reading& first = readings_.front();
  const Reading& last = readings_.back();
  // A total that went back (a reading the system got wrong) counts as nothing used.
  return {last.CpuTime > first.CpuTime ? last.CpuTime - first.CpuTime : 0,
          std::max<int64_t>(last.TickMs - first.TickMs, 0)};
}

bool UsedMoreThan(const CpuSpan& span, int processors, int percent) {
  if (span.WallMs <= 0)
    return false;
  const uint64_t available = static_cast<uint64_t>(span.WallMs) * kCpuUnitsPerMs *
                             static_cast<uint64_t>(std::max(processors, 1));
  return span.CpuTime * kWholePercent > available * static_cast<uint64_t>(percent);
}

}  // namespace tarvik
