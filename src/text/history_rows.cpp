#include "text/history_rows.h"

#include <algorithm>
#include <utility>

namespace tarvik {

HistoryRowEdit PlanHistoryRow(int rowCount, int limit, int position, std::wstring_view text,
                              DateValue now) {
  HistoryRowEdit edit;
  rowCount = std::max(0, rowCount);
  edit.RemoveAt = std::max(0, limit);
  edit.RemoveCount = std::max(0, rowCount - edit.RemoveAt);
  const int remaining = rowCount - edit.RemoveCount;
  edit.InsertAt = std::clamp(position, 0, remaining);
  edit.Row = FormatDate(L"%mm-%dd  %hh:%ii:%ss", now) + L"\n" + std::wstring(text);
  return edit;
}

void AddHistoryRow(std::vector<std::wstring>& rows, int limit, int position, std::wstring_view text,
                   DateValue now) {
  HistoryRowEdit edit = PlanHistoryRow(static_cast<int>(rows.size()), limit, position, text, now);
  for (int i = 0; i < edit.RemoveCount; ++i)
    rows.erase(rows.begin() + edit.RemoveAt);
  rows.insert(rows.begin() + edit.InsertAt, std::move(edit.Row));
}

}  // namespace tarvik
