#include "monitors/gpu/nvml_start.h"

#include <cwctype>

#include "monitors/gpu/nvml_text.h"

namespace tarvik {
namespace {

template <unsigned int kSize>
std::wstring SystemText(platform::nvml::SystemText read) {
  char buffer[kSize] = {};
  if (read == nullptr || read(buffer, kSize) != platform::nvml::kSuccess)
    return {};
  return NvmlText(buffer, kSize);
}

// The newer call where the library has it: the older one fails as a whole when any one card is
// in a bad state, which would leave the good cards unseen too.
platform::nvml::Init Initialisation(const platform::nvml::Functions& nvml) {
  return nvml.nvmlInit_v2 ? nvml.nvmlInit_v2 : nvml.nvmlInit;
}

// The newer call first; the older one where the library lacks it.
int CudaVersion(const platform::nvml::Functions& nvml) {
  int version = 0;
  const platform::nvml::SystemInt read = nvml.nvmlSystemGetCudaDriverVersion_v2
                                             ? nvml.nvmlSystemGetCudaDriverVersion_v2
                                             : nvml.nvmlSystemGetCudaDriverVersion;
  if (read == nullptr || read(&version) != platform::nvml::kSuccess)
    return 0;
  return version;
}

}  // namespace

int DriverMajorVersion(const std::wstring& version) {
  int major = 0;
  for (const wchar_t c : version) {
    if (!std::iswdigit(c))
      break;
    if (major > 100'000)
      return major;
    major = major * 10 + (c - L'0');
  }
  return major;
}

std::optional<NvmlSystem> StartNvml(const platform::nvml::Functions& nvml) {
  const platform::nvml::Init initialise = Initialisation(nvml);
  if (initialise == nullptr || initialise() != platform::nvml::kSuccess)
    return std::nullopt;
  NvmlSystem system;
  system.DriverVersion =
      SystemText<platform::nvml::kSystemDriverVersionBufferSize>(nvml.nvmlSystemGetDriverVersion);
  system.NvmlVersion =
      SystemText<platform::nvml::kSystemNvmlVersionBufferSize>(nvml.nvmlSystemGetNVMLVersion);
  system.CudaVersion = CudaVersion(nvml);
  if (DriverMajorVersion(system.DriverVersion) < kOldestNvidiaDriver)
    return std::nullopt;
  return system;
}

}  // namespace tarvik
