#pragma once

#include "monitors/gpu/gpu_device.h"
#include "platform/nvml.h"

namespace tarvik {

// Every card the library counts: the first eight with their handles and each fact read once, the
// others by name. A failing call leaves its value as it was and keeps its status, and reading
// goes on; a card without a handle is out of reach with the handle call's status.
[[nodiscard]] GpuCards EnumerateGpus(const platform::nvml::Functions& nvml);

}  // namespace tarvik
