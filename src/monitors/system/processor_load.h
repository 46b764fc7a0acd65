#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/processors.h"

namespace tarvik {

using ProcessorTimes = platform::ProcessorTime;

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
