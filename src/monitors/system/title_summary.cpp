#include "monitors/system/title_summary.h"

#include "monitors/system/text_shapes.h"
#include "text/translation.h"

namespace tarvik {

std::wstring MemoryTitle(std::wstring_view meterText, std::wstring_view key) {
  return std::wstring(meterText) + L" " + std::wstring(key);
}

std::wstring ProcessorTitle(std::wstring_view meterText) {
  return system_text::Trimmed(meterText);
}

std::wstring BatteryTitle(std::wstring_view meterText, int percent) {
  if (percent < 0)
    return Tr(L"No Battery");
  return system_text::Trimmed(meterText) + L" " + Tr(L"Battery");
}

std::wstring UptimeTitle(std::wstring_view meterText) {
  return system_text::Trimmed(meterText) + L" " + Tr(L"Uptime");
}

std::wstring IdleTitle(std::wstring_view meterText) {
  return system_text::TrimmedLeft(meterText) + Tr(L"Idle");
}

std::wstring DriveRatesTitle(std::wstring_view label, int64_t readKb, int64_t writeKb) {
  return std::wstring(label) + L": " + std::to_wstring(readKb) + L"K/" + std::to_wstring(writeKb) +
         L"K";
}

}  // namespace tarvik
