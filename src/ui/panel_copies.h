#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A report list as the copies read it: its column titles and its rows, each row one text with
// the columns separated by line feeds.
struct ListContents {
  std::vector<std::wstring> ColumnTitles;
  std::vector<std::wstring> Rows;
};

// The most columns a list copy reads.
inline constexpr int kMaxCopiedColumns = 21;

// Column `column` (0-based) of a row; empty past its last column.
[[nodiscard]] std::wstring RowColumn(std::wstring_view row, int column);

// The System tab as text: the information block, an empty line, then each system event on a
// line of its own.
[[nodiscard]] std::wstring SystemPanelCopy(std::wstring_view systemBlock,
                                           const std::vector<std::wstring>& systemEvents);

// The Storage tab as text: each drive row on a line of its own with its columns separated by
// tabs, an empty line, then each drive event on a line of its own.
[[nodiscard]] std::wstring StoragePanelCopy(const std::vector<std::wstring>& driveRows,
                                            const std::vector<std::wstring>& driveEvents);

// The Processors tab as text: for the description list and then the load list, one line per
// column up to the first untitled one, "title = value" with the value from the first row.
[[nodiscard]] std::wstring ProcessorsPanelCopy(const ListContents& description,
                                               const ListContents& load);

// The About tab as text: the program's title and maker, an empty line, the file status lines,
// an empty line, then the program's own cost.
[[nodiscard]] std::wstring AboutPanelCopy(const std::vector<std::wstring>& fileLines,
                                          const std::vector<std::wstring>& costLines);

}  // namespace tarvik
