#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvik {

// One logical processor's accumulated times, in 100 ns units, as Windows reports them: the
// kernel time includes the idle time.
struct ProcessorTimes {
  uint64_t Idle = 0;
  uint64_t Kernel = 0;
  uint64_t User = 0;
};

struct ProcessorLoads {
  std::vector<double> Percent;  // per processor, 0-100
  double Average = 0;           // over every processor
};

// Loads between two samples. A processor whose times did not move forward (no time passed, or a
// counter that went backwards) counts as idle; when none moved forward there is nothing to show
// and the result is empty, so the caller keeps the loads it had. Samples of different processor
// counts do not compare either.
[[nodiscard]] std::optional<ProcessorLoads> LoadsBetween(const std::vector<ProcessorTimes>& before,
                                                         const std::vector<ProcessorTimes>& after);

// The same times with the idle time taken from a separate idle-time source, processor by
// processor; processors the source does not cover keep their own idle time.
[[nodiscard]] std::vector<ProcessorTimes> WithIdleTimes(std::vector<ProcessorTimes> times,
                                                        const std::vector<uint64_t>& idle);

}  // namespace tarvik
