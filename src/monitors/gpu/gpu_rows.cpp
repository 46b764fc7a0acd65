#include "monitors/gpu/gpu_rows.h"

#include "monitors/system/text_shapes.h"
#include "text/format_size.h"

namespace tarvik {
namespace {

constexpr int kWarmFrom = 43;
constexpr int kHotAbove = 84;
constexpr int kUsedMemorySizeMode = 5;

std::wstring Number(int64_t value) {
  return std::to_wstring(value);
}

// A value right-aligned in 4 places with its unit; a value that could not be read shows
// nothing, or its status while errors are shown.
template <typename T>
std::wstring RowValue(const NvmlReading<T>& reading, const wchar_t* unit, bool showErrors) {
  if (reading.Status == platform::nvml::kSuccess)
    return system_text::RightAligned(static_cast<int64_t>(reading.Value), 4) + unit;
  return showErrors ? L" #" + Number(reading.Status) : std::wstring();
}

}  // namespace

Colour TemperatureColour(int celsius) {
  if (celsius < 0 || celsius > kHotAbove)
    return Rgb(255, 0, 0);
  if (celsius < kWarmFrom)
    return Rgb(celsius * 6, 255, 255);
  const int fade = 507 - 6 * celsius;
  return Rgb(255, fade, fade);
}

std::wstring GpuShortLabel(int device) {
  return L"G" + Number(device);
}

std::wstring GpuRowText(int device, const GpuSample& sample, bool showErrors) {
  return GpuShortLabel(device) + RowValue(sample.Temperature, L"C", showErrors) +
         RowValue(sample.Fan, L"%", showErrors);
}

std::wstring GpuSummary(int device, const GpuSample& sample) {
  const platform::nvml::Utilization& load = sample.Utilization.Value;
  // The used memory shares the memory column, so each value stays under its own heading.
  return GpuShortLabel(device) + L"\n" + Number(load.Gpu) + L"%  " +
         Number(sample.Clocks[kGraphicsClock].Value) + L"MHz\n" + Number(load.Memory) + L"%  " +
         Number(sample.Clocks[kMemoryClock].Value) + L"MHz  " +
         FormatSize(static_cast<int64_t>(sample.Memory.Value.Used), kUsedMemorySizeMode) + L"\n" +
         Number(sample.Temperature.Value) + L"C\n" + Number(sample.Fan.Value) + L"%\nP" +
         Number(sample.PerformanceState.Value) + L" " +
         Number(sample.PowerMilliwatts.Value / 1000) + L"W";
}

}  // namespace tarvik
