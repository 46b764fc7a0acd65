#pragma once

#include "monitors/gpu/gpu_device.h"
#include "platform/nvml.h"

namespace tarvik {

// One sample of a card: graphics and memory clocks, load, fan, P-state, power, temperature and
// memory, each with its status; the row colour follows a temperature that could be read. A card
// out of reach is asked nothing; one whose call says it fell off the bus is put out of reach.
void SampleGpu(const platform::nvml::Functions& nvml, GpuDevice& device);

}  // namespace tarvik
