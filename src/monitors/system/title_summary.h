#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

// What the mini window's title shows, in the order of the Title Bar Text choices.
enum class TitleBarShows : int {
  kDrives = 0,
  kPhysicalMemory = 1,
  kPageFileMemory = 2,
  kProcessor = 3,
  kBattery = 4,
  kUptime = 5,
  kIdle = 6,
  kDrivesReadWrite = 7,
  kNetwork = 8,
};

// The summary texts for the values the system sampler owns, each from the meter's own text.
// Memory: the text and the meter's untranslated key (" 9.8G 61% Phys").
[[nodiscard]] std::wstring MemoryTitle(std::wstring_view meterText, std::wstring_view key);
// Processor: the meter text without its blanks at either end.
[[nodiscard]] std::wstring ProcessorTitle(std::wstring_view meterText);
// Battery: "42% Battery", or "No Battery" when there is none (a negative percent).
[[nodiscard]] std::wstring BatteryTitle(std::wstring_view meterText, int percent);
[[nodiscard]] std::wstring UptimeTitle(std::wstring_view meterText);
// Idle: the text keeps its trailing blank before the word ("5m 3s Idle").
[[nodiscard]] std::wstring IdleTitle(std::wstring_view meterText);
// Drives: "<label>: 12K/3K" from the read and write rates in KB per second.
[[nodiscard]] std::wstring DriveRatesTitle(std::wstring_view label, int64_t readKb,
                                           int64_t writeKb);

}  // namespace tarvik
