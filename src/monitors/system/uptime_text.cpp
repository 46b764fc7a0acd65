#include "monitors/system/uptime_text.h"

#include "monitors/system/text_shapes.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kSettledSeconds = 2;
constexpr size_t kMeterWidth = 13;

std::wstring TwoDigits(int64_t number) {
  return (number < 10 ? L"0" : L"") + std::to_wstring(number);
}

}  // namespace

UptimeTexts MakeUptimeTexts(int64_t seconds, bool fromUptimeCounter) {
  if (seconds < kSettledSeconds)
    return {fromUptimeCounter ? L" " + TrFixed(L"Calculating   ") : L" -  -  -  - ", L""};
  const int64_t days = seconds / kSecondsPerDay;
  const int64_t hours = seconds % kSecondsPerDay / 3600;
  const int64_t minutes = seconds % 3600 / 60;
  const int64_t rest = seconds % 60;
  std::wstring text;
  if (days >= 1)
    text += std::to_wstring(days) + L"d ";
  if (hours >= 1)
    text += std::to_wstring(hours) + L"h ";
  if (minutes >= 1)
    text += std::to_wstring(minutes) + L"m ";
  UptimeTexts texts;
  texts.ListText = text + std::to_wstring(rest) + L"s";
  if (days == 0)
    text += TwoDigits(rest) + L"s";
  texts.MeterText = system_text::Centred(system_text::Trimmed(text), kMeterWidth);
  return texts;
}

std::wstring BatteryUptimeIdleRow(std::wstring_view batteryText, std::wstring_view batteryStatus,
                                  std::wstring_view uptimeListText, std::wstring_view idleText,
                                  std::wstring_view recentIdleText) {
  return system_text::TrimmedLeft(batteryText) + std::wstring(batteryStatus) + L"\n" +
         std::wstring(uptimeListText) + L"\n" +
         system_text::Joined(system_text::Trimmed(idleText)) + L", " + std::wstring(recentIdleText);
}

}  // namespace tarvik
