#pragma once

#include <string>

#include "monitors/gpu/gpu_device.h"

namespace tarvik {

// The row colour of a card out of reach: no temperature stands behind it.
inline constexpr Colour kUnreachableCardColour = Rgb(192, 192, 192);

// What a status that puts a whole card out of reach means: "GPU lost".
[[nodiscard]] std::wstring CardStatusName(platform::nvml::Return status);
// The same with the status's number: "GPU lost (15)".
[[nodiscard]] std::wstring CardStatusText(platform::nvml::Return status);

// True when a reading of the sample says the card fell off the bus.
[[nodiscard]] bool SampleShowsLoss(const GpuSample& sample);

// Puts a card out of reach: every reading of its sample takes the status, its row turns grey.
void PutOutOfReach(GpuDevice& device, platform::nvml::Return status);

}  // namespace tarvik
