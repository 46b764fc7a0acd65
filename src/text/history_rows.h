#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/date_format.h"

namespace tarvik {

// How a list takes a history row: the rows to remove first (RemoveCount times the row at
// RemoveAt), then the dated row to insert.
struct HistoryRowEdit {
  int RemoveAt = 0;
  int RemoveCount = 0;
  int InsertAt = 0;
  std::wstring Row;
};

// While the list holds more rows than `limit`, the row at index `limit` goes; then the text,
// dated "%mm-%dd  %hh:%ii:%ss" in a column of its own, is inserted at `position`. A list so
// holds at most limit + 1 rows. A negative limit counts as 0; the position is kept inside
// the list.
[[nodiscard]] HistoryRowEdit PlanHistoryRow(int rowCount, int limit, int position,
                                            std::wstring_view text, DateValue now);

// The same on a list kept as its row texts.
void AddHistoryRow(std::vector<std::wstring>& rows, int limit, int position, std::wstring_view text,
                   DateValue now);

}  // namespace tarvik
