#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

struct UptimeTexts {
  std::wstring MeterText;  // "   5m 07s    ": centred in 13, seconds only below a day
  std::wstring ListText;   // "5m 7s": days, hours and minutes with the seconds always
};

// Below 2 seconds the counter has not settled: " Calculating   " while the uptime counter is
// read, " -  -  -  - " otherwise (the list text is then empty).
[[nodiscard]] UptimeTexts MakeUptimeTexts(int64_t seconds, bool fromUptimeCounter);

// Row 0 of the System tab's Battery/Uptime/Idle list, its three columns separated by line feeds.
[[nodiscard]] std::wstring BatteryUptimeIdleRow(std::wstring_view batteryText,
                                                std::wstring_view batteryStatus,
                                                std::wstring_view uptimeListText,
                                                std::wstring_view idleText,
                                                std::wstring_view recentIdleText);

}  // namespace tarvik
