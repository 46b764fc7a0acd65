#include "monitors/gpu/nvml_start.h"

#include <cwctype>

#include "monitors/gpu/nvml_text.h"

namespace tarvik {
namespace {

constexpr unsigned int kVersionBufferSize = 80;

std::wstring SystemText(platform::nvml::SystemText read) {
  char buffer[kVersionBufferSize] = {};
  if (read == nullptr || read(buffer, kVersionBufferSize) != platform::nvml::kSuccess)
    return {};
  return NvmlText(buffer, kVersionBufferSize);
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
  if (nvml.nvmlInit == nullptr || nvml.nvmlInit() != platform::nvml::kSuccess)
    return std::nullopt;
  NvmlSystem system;
  system.DriverVersion = SystemText(nvml.nvmlSystemGetDriverVersion);
  system.NvmlVersion = SystemText(nvml.nvmlSystemGetNVMLVersion);
  system.CudaVersion = CudaVersion(nvml);
  if (DriverMajorVersion(system.DriverVersion) < kOldestNvidiaDriver)
    return std::nullopt;
  return system;
}

}  // namespace tarvik
