#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processors.h"

namespace tarvik {

// A load as the CPU meter shows it: " 0%", the number right-aligned in 2 and "%", or "MAX" from
// 100 on. A negative load reads as 0.
[[nodiscard]] std::wstring PercentText(int percent);

// A speed in 7 characters: "999MHz" and "1.0GHz" after a blank, "10GHz" after two.
[[nodiscard]] std::wstring SpeedText(int64_t mhz);

// What the processor pass measured.
struct ProcessorReading {
  int64_t MeanMhz = 0;
  int AverageLoad = -1;  // negative while no load could be read
  int IdleState = 0;     // mean C-state; 0 leaves the C/P marks off
  int PState = 0;
  int LogicalCount = 1;
};

struct ProcessorTexts {
  std::wstring MeterText;     // " 5% 2.4GHz", or " 8x2400MHz" without a load
  std::wstring HistoryText;   // "5%\n2400MHz", or "8x\n2400MHz"
  std::wstring SpeedAndLoad;  // the Speed and Load% columns of the values row
  int Load = 0;               // the load shown; 0 when none was read
};

[[nodiscard]] ProcessorTexts MakeProcessorTexts(const ProcessorReading& reading);

using ProcessCounts = platform::ProcessCounts;

// The values row of the Processors tab: speed and load, then the counts, the P-state and the
// idle-state list as further columns. Once a previous process count is known, each count that
// moved carries its change, as in "312  ( +5 )".
[[nodiscard]] std::wstring ProcessorValuesText(std::wstring_view speedAndLoad,
                                               const ProcessCounts& now,
                                               const ProcessCounts& previous, int pState,
                                               std::wstring_view idleStates);

// The per-processor idle states joined by a separator that narrows as processors grow in number
// (two blanks below 25, one below 33, none from 33), so the column stays readable.
[[nodiscard]] std::wstring IdleStateList(const std::vector<int>& idleStates, int logicalCount);

// The processor as the system describes it, from the texts gathered at start.
struct ProcessorDescription {
  std::wstring MaxSpeed;  // MHz as text; empty when the system did not say
  std::wstring Brand;
  std::wstring Name;
  std::wstring Identifier;
  std::wstring L2CacheKb;
  std::wstring L3CacheKb;
  std::wstring Cores;
};

// The cache column of the description row: "512K + 16384K".
[[nodiscard]] std::wstring CacheText(const std::wstring& l2Kb, const std::wstring& l3Kb);
// Row 0 of the Processors tab's description list: "3600MHz", the brand, "name, ID:identifier",
// the cache column and "8 ( 16 )".
[[nodiscard]] std::wstring ProcessorDescriptionRow(int64_t highestMhz,
                                                   const ProcessorDescription& processor,
                                                   int logicalCount);

}  // namespace tarvik
