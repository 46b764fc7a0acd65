#pragma once

#include <memory>

#include "platform/nvml.h"

namespace tarvik::win32 {

// Loads nvml.dll from the NVIDIA program folder ("NVIDIA Corporation\NVSMI\" under Program Files)
// or else from the system folder, whichever holds a file that is not empty; never by bare name.
[[nodiscard]] std::unique_ptr<platform::NvmlLibrary> LoadNvml();

}  // namespace tarvik::win32
