// A command-line look at the NVIDIA cards through the same loader and enumeration as the
// program: the detail list and one sample line per card. Built for the native target only.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "monitors/gpu/gpu_enumeration.h"
#include "monitors/gpu/gpu_panel.h"
#include "monitors/gpu/gpu_rows.h"
#include "monitors/gpu/gpu_sampling.h"
#include "monitors/gpu/nvml_start.h"
#include "platform/posix/posix_nvml.h"
#include "text/translation.h"
#include "text/utf8.h"

namespace {

void PrintLine(const std::wstring& line) {
  std::printf("%s\n", tarvik::ToUtf8(line).c_str());
}

// The local date in the program's whole seconds.
tarvik::DateValue LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<tarvik::DateValue>(now) + local.tm_gmtoff;
}

}  // namespace

int main() {
  using namespace tarvik;
  LoadTranslations(kEnglish);
  const auto library = posix::LoadNvml();
  if (!library) {
    std::printf("No NVIDIA Management Library: libnvidia-ml.so.1 is not installed.\n");
    return 0;
  }
  const platform::nvml::Functions& nvml = library->Functions();
  const auto system = StartNvml(nvml);
  if (!system) {
    std::printf("The NVIDIA Management Library did not start or its driver is older than %d.\n",
                kOldestNvidiaDriver);
    return 0;
  }
  GpuCards cards = EnumerateGpus(nvml);
  GpuDevices& devices = cards.Devices;
  for (const std::wstring& row : GpuDetailRows(*system, cards, false, LocalNow()))
    PrintLine(row);
  for (size_t i = 0; i < devices.size(); ++i) {
    SampleGpu(nvml, devices[i]);
    std::wstring summary = GpuSummary(static_cast<int>(i), devices[i]);
    std::replace(summary.begin(), summary.end(), L'\n', L'|');
    PrintLine(summary);
  }
  if (nvml.nvmlShutdown)
    static_cast<void>(nvml.nvmlShutdown());
  return 0;
}
