#include "monitors/network/info_line.h"

namespace tarvik {
namespace {

constexpr size_t kLabelWidth = 17;

bool SaysNothing(const std::wstring& value) {
  return value.empty() || value == L"0.0.0.0" || value == L"1970-01-01 00:01:00";
}

}  // namespace

void AddInfoLine(std::vector<std::wstring>& lines, const std::wstring& label,
                 const std::wstring& value) {
  if (SaysNothing(value))
    return;
  std::wstring line = label;
  if (value == kLabelOnly) {
    lines.push_back(line);
    return;
  }
  const size_t width = value.front() == L'-' ? kLabelWidth - 1 : kLabelWidth;
  if (line.size() < width)
    line.append(width - line.size(), L' ');
  lines.push_back(line + L" " + value);
}

}  // namespace tarvik
