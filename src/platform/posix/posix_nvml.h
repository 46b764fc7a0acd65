#pragma once

#include <memory>

#include "platform/nvml.h"

namespace tarvik::posix {

// Loads the driver's libnvidia-ml.so.1 through the dynamic linker's search; none without it.
[[nodiscard]] std::unique_ptr<platform::NvmlLibrary> LoadNvml();

}  // namespace tarvik::posix
