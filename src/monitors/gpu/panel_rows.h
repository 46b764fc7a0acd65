#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The rows of a detail panel, each added above the ones before it. A row shows a label padded to
// 20 characters, its number when not 0, its value and a suffix; a row whose call failed, or
// that has neither number nor value, is hidden unless errors are shown, which puts the status
// in front of every row.
class PanelRows {
 public:
  explicit PanelRows(bool showErrors) : showErrors_(showErrors) {}

  void Add(int status, std::wstring_view label, int64_t number, std::wstring_view value,
           std::wstring_view suffix = L"");
  void AddEmpty() { rows_.insert(rows_.begin(), std::wstring()); }
  void AddHeading(std::wstring_view label) { rows_.insert(rows_.begin(), std::wstring(label)); }

  // Top to bottom.
  [[nodiscard]] const std::vector<std::wstring>& Rows() const { return rows_; }

 private:
  bool showErrors_;
  std::vector<std::wstring> rows_;
};

}  // namespace tarvik
