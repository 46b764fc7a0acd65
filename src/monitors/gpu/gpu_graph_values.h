#pragma once

#include <array>

#include "monitors/gpu/gpu_device.h"

namespace tarvik {

// The six graph values of a card, in the order of its graphs: GPU load, memory load, fan speed,
// graphics clock, memory clock and power in percent of the card's maximum clocks and default
// power limit (0 while a maximum is unknown). A value whose call failed counts as 0.
[[nodiscard]] std::array<int, 6> GpuGraphValues(const GpuDevice& device);

// While a card tracks its maximum clocks, each one rises to the current clock of its kind.
void RaiseMaximumClocks(GpuDevice& device);

}  // namespace tarvik
