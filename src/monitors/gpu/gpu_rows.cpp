#include "monitors/gpu/gpu_rows.h"

#include "monitors/gpu/gpu_card_status.h"
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

std::wstring GpuRowText(int device, const GpuDevice& card, bool showErrors) {
  if (card.CardStatus != platform::nvml::kSuccess)
    return GpuShortLabel(device) + L"  #" + Number(card.CardStatus);
  return GpuShortLabel(device) + RowValue(card.Sample.Temperature, L"C", showErrors) +
         RowValue(card.Sample.Fan, L"%", showErrors);
}

std::wstring GpuSummary(int device, const GpuDevice& card) {
  if (card.CardStatus != platform::nvml::kSuccess)
    return GpuShortLabel(device) + L"\n#" + Number(card.CardStatus) + L"\n" +
           CardStatusName(card.CardStatus);
  const GpuSample& sample = card.Sample;
  const platform::nvml::Utilization& load = sample.Utilization.Value;
  const auto shown = [](const auto& reading, int64_t value, const wchar_t* unit) {
    return reading.Status == platform::nvml::kSuccess ? Number(value) + unit
                                                      : L"#" + Number(reading.Status);
  };
  const auto& used = sample.Memory;
  const std::wstring usedText =
      used.Status == platform::nvml::kSuccess
          ? FormatSize(static_cast<int64_t>(used.Value.Used), kUsedMemorySizeMode)
          : L"#" + Number(used.Status);
  // The used memory shares the memory column, so each value stays under its own heading.
  return GpuShortLabel(device) + L"\n" + shown(sample.Utilization, load.Gpu, L"%") + L"  " +
         shown(sample.Clocks[kGraphicsClock], sample.Clocks[kGraphicsClock].Value, L"MHz") + L"\n" +
         shown(sample.Utilization, load.Memory, L"%") + L"  " +
         shown(sample.Clocks[kMemoryClock], sample.Clocks[kMemoryClock].Value, L"MHz") + L"  " +
         usedText + L"\n" + shown(sample.Temperature, sample.Temperature.Value, L"C") + L"\n" +
         shown(sample.Fan, sample.Fan.Value, L"%") + L"\nP" +
         shown(sample.PerformanceState, sample.PerformanceState.Value, L"") + L" " +
         shown(sample.PowerMilliwatts, sample.PowerMilliwatts.Value / 1000, L"W");
}

}  // namespace tarvik
