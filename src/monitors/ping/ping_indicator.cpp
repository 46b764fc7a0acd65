#include "monitors/ping/ping_indicator.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr wchar_t kUp[] = L"\u25B2";
constexpr wchar_t kDown[] = L"\u25BC";
constexpr size_t kShortWidth = 8;

}  // namespace

std::optional<std::wstring> UpDownIndicatorText(int up, int down) {
  const std::wstring u = std::to_wstring(up);
  const std::wstring d = std::to_wstring(down);
  const size_t digits = u.size() + d.size();
  std::wstring text;
  if (digits <= 3) {
    text = L" " + u + kUp + L" " + d + kDown;
    text.resize(std::max(text.size(), kShortWidth), L' ');
  } else if (digits == 4) {
    text = L" " + u + kUp + L" " + d + kDown;
  } else if (digits == 5) {
    text = u + kUp + L" " + d + kDown;
  } else if (digits == 6) {
    text = u + kUp + d + kDown;
  } else {
    return std::nullopt;
  }
  return text;
}

}  // namespace tarvik
