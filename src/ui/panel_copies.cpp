#include "ui/panel_copies.h"

#include <algorithm>

#include "core/version.h"

namespace tarvik {
namespace {

constexpr const wchar_t* kLineEnd = L"\r\n";

void AppendColumns(std::wstring& text, const ListContents& list) {
  const std::wstring_view firstRow = list.Rows.empty() ? std::wstring_view() : list.Rows.front();
  const int columns = std::min(kMaxCopiedColumns, static_cast<int>(list.ColumnTitles.size()));
  for (int column = 0; column < columns; ++column) {
    const std::wstring& title = list.ColumnTitles[static_cast<size_t>(column)];
    if (title.empty())
      break;
    text += title + L" = " + RowColumn(firstRow, column) + kLineEnd;
  }
}

void AppendLines(std::wstring& text, const std::vector<std::wstring>& lines) {
  for (const std::wstring& line : lines)
    text += line + kLineEnd;
}

}  // namespace

std::wstring RowColumn(std::wstring_view row, int column) {
  for (; column > 0; --column) {
    const size_t feed = row.find(L'\n');
    if (feed == std::wstring_view::npos)
      return {};
    row.remove_prefix(feed + 1);
  }
  if (column < 0)
    return {};
  return std::wstring(row.substr(0, row.find(L'\n')));
}

std::wstring SystemPanelCopy(std::wstring_view systemBlock,
                             const std::vector<std::wstring>& systemEvents) {
  std::wstring text(systemBlock);
  text += kLineEnd;
  AppendLines(text, systemEvents);
  return text;
}

// A pasted copy reads as a table: one drive a line, its columns separated by tabs.
std::wstring StoragePanelCopy(const std::vector<std::wstring>& driveRows,
                              const std::vector<std::wstring>& driveEvents) {
  std::wstring rows;
  for (std::wstring row : driveRows) {
    std::replace(row.begin(), row.end(), L'\n', L'\t');
    rows += row + kLineEnd;
  }
  return SystemPanelCopy(rows, driveEvents);
}

std::wstring ProcessorsPanelCopy(const ListContents& description, const ListContents& load) {
  std::wstring text;
  AppendColumns(text, description);
  AppendColumns(text, load);
  return text;
}

std::wstring AboutPanelCopy(const std::vector<std::wstring>& fileLines,
                            const std::vector<std::wstring>& costLines) {
  std::wstring text = std::wstring(kProgramTitle) + kLineEnd + kMakerLine + kLineEnd + kLineEnd;
  AppendLines(text, fileLines);
  text += kLineEnd;
  AppendLines(text, costLines);
  return text;
}

}  // namespace tarvik
