#include "monitors/system/text_shapes.h"

#include <algorithm>

namespace tarvik::system_text {

std::wstring Trimmed(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos)
    return {};
  const size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
}

std::wstring TrimmedLeft(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L' ');
  return first == std::wstring_view::npos ? std::wstring() : std::wstring(text.substr(first));
}

std::wstring RightAligned(std::wstring_view text, size_t width) {
  std::wstring result(text);
  if (result.size() < width)
    result.insert(0, width - result.size(), L' ');
  return result;
}

std::wstring RightAligned(int64_t number, size_t width) {
  return RightAligned(std::to_wstring(number), width);
}

std::wstring Centred(std::wstring_view text, size_t width) {
  const size_t before = text.size() < width ? (width - text.size()) / 2 : 0;
  std::wstring result(before, L' ');
  result += text;
  result.resize(width, L' ');
  return result;
}

std::wstring Joined(std::wstring_view text) {
  std::wstring result(text);
  std::replace(result.begin(), result.end(), L' ', L'+');
  return result;
}

}  // namespace tarvik::system_text
