#pragma once

#include <optional>
#include <string>

#include "platform/nvml.h"

namespace tarvik {

// What the library says of the system once it is initialised.
struct NvmlSystem {
  int CudaVersion = 0;  // as the library reports it: 12040 is CUDA 12.4
  std::wstring DriverVersion;
  std::wstring NvmlVersion;
};

// Drivers older than this do not offer what the GPU monitor reads.
inline constexpr int kOldestNvidiaDriver = 285;

// The whole-number part of a driver version text ("285.62" gives 285); 0 when it has none.
[[nodiscard]] int DriverMajorVersion(const std::wstring& version);

// Initialises a bound library and reads the system's versions; none when the library cannot
// serve the GPU monitor (no initialisation function, a failed initialisation, a driver too old).
[[nodiscard]] std::optional<NvmlSystem> StartNvml(const platform::nvml::Functions& nvml);

}  // namespace tarvik
