#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/date_format.h"

namespace tarvik {

inline constexpr int64_t kBytesPerMiB = 1048576;

// What the Phys and Page meters show for one reading of available and total bytes.
struct MemoryReading {
  int64_t AvailableMiB = 0;
  int PercentAvailable = 0;
  std::wstring Text;      // available: " 9.8G 61%"
  std::wstring UsedText;  // the rest of the total, in the same shape
};

// Available MiB, 0 decimals in G above 102,348 MiB (so 99.95G never shows as "100.0G"), 1 decimal
// in G from 10,000 MiB, whole MiB below; each right-aligned in 4, then the percent in 3 and "%".
[[nodiscard]] std::wstring MemoryText(int64_t availableMiB, int percent);

// Percent available is integer available * 100 / total; a total of 0 (nothing reported) gives
// 0 % rather than a division by zero.
[[nodiscard]] MemoryReading ReadMemory(int64_t availableBytes, int64_t totalBytes);

// Highest and lowest available MiB since start or the last reset; -1 means not yet seen.
struct MemoryExtremes {
  int64_t Highest = -1;
  int64_t Lowest = -1;
};

// Rows 0 ("Hi") and 1 ("Lo") of a memory history list, each replaced when the reading sets a new
// extreme. The first column is "%mm-%dd  %hh:%ii:%ss  " and the translated mark.
struct MemoryExtremeRows {
  std::optional<std::wstring> HighRow;
  std::optional<std::wstring> LowRow;
};

[[nodiscard]] std::wstring MemoryExtremeRow(std::wstring_view mark, const MemoryReading& reading,
                                            DateValue now);
[[nodiscard]] MemoryExtremeRows NoteMemoryExtremes(MemoryExtremes& extremes,
                                                   const MemoryReading& reading, DateValue now);

// The ordinary history row: the text and the used text as two columns.
[[nodiscard]] std::wstring MemoryHistoryText(const MemoryReading& reading);

// Physical and page-file totals in bytes.
struct MemoryTotals {
  int64_t Physical = 0;
  int64_t PageFile = 0;
};

// The system events for totals that changed since they were last reported, updating
// `lastReported`. Totals that were equal and still are make one event for both
// ("Phys/Page Memory: +2.0G = 18.0G"); the first report (a last total of 0) shows only the total.
[[nodiscard]] std::vector<std::wstring> MemoryTotalEvents(MemoryTotals& lastReported,
                                                          const MemoryTotals& now);

}  // namespace tarvik
