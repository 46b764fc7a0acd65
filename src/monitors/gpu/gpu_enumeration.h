#pragma once

#include "monitors/gpu/gpu_device.h"
#include "platform/nvml.h"

namespace tarvik {

// Every card the library counts, with its handle and each fact it reads once; a failing call
// leaves its value as it was and keeps its status, and reading goes on.
[[nodiscard]] GpuDevices EnumerateGpus(const platform::nvml::Functions& nvml);

}  // namespace tarvik
