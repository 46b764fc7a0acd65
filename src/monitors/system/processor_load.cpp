#include "monitors/system/processor_load.h"

#include <algorithm>

namespace tarvik {
namespace {

// How far a counter moved ahead; one that went back gives 0.
uint64_t Forward(uint64_t before, uint64_t after) {
  return after > before ? after - before : 0;
}

}  // namespace

std::optional<ProcessorLoads> LoadsBetween(const std::vector<ProcessorTimes>& before,
                                           const std::vector<ProcessorTimes>& after) {
  if (before.size() != after.size() || after.empty())
    return std::nullopt;
  ProcessorLoads loads;
  loads.Percent.reserve(after.size());
  bool anyMoved = false;
  double sum = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    const uint64_t total =
        Forward(before[i].Kernel + before[i].User, after[i].Kernel + after[i].User);
    const uint64_t idle = Forward(before[i].Idle, after[i].Idle);
    const bool idleWentBack = after[i].Idle < before[i].Idle;
    double percent = 0;
    if (total > 0 && !idleWentBack) {
      anyMoved = true;
      // A separate idle source can run slightly ahead of the kernel time: never below 0 %.
      const uint64_t busy = total - std::min(idle, total);
      percent = static_cast<double>(busy) * 100.0 / static_cast<double>(total);
    }
    loads.Percent.push_back(percent);
    sum += percent;
  }
  if (!anyMoved)
    return std::nullopt;
  loads.Average = sum / static_cast<double>(after.size());
  return loads;
}

std::vector<ProcessorTimes> WithIdleTimes(std::vector<ProcessorTimes> times,
                                          const std::vector<uint64_t>& idle) {
  for (size_t i = 0; i < times.size() && i < idle.size(); ++i)
    times[i].Idle = idle[i];
  return times;
}

}  // namespace tarvik
