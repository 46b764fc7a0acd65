#include "settings/window_positions.h"

#include <limits>

namespace tarvik {
namespace {

constexpr wchar_t kLetters[] = {L'v', L'w', L'x', L'y'};
constexpr size_t kMaxDigits = 10;

wchar_t Lower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

// A signed decimal number at the front of `text`, which moves past it.
std::optional<int32_t> TakeNumber(std::wstring_view& text) {
  const bool negative = !text.empty() && text.front() == L'-';
  if (negative)
    text.remove_prefix(1);
  size_t digits = 0;
  int64_t value = 0;
  while (digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9') {
    if (digits == kMaxDigits)
      return std::nullopt;
    value = value * 10 + (text[digits] - L'0');
    ++digits;
  }
  if (digits == 0)
    return std::nullopt;
  text.remove_prefix(digits);
  if (negative)
    value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

}  // namespace

std::wstring BuildWindowPositions(const Settings& settings) {
  return L"v" + std::to_wstring(settings.Get(opt::MainX)) + L"w" +
         std::to_wstring(settings.Get(opt::MainY)) + L"x" +
         std::to_wstring(settings.Get(opt::MiniX)) + L"y" +
         std::to_wstring(settings.Get(opt::MiniY));
}

std::optional<WindowPositions> ParseWindowPositions(std::wstring_view text) {
  int32_t numbers[std::size(kLetters)] = {};
  for (size_t i = 0; i < std::size(kLetters); ++i) {
    if (text.empty() || Lower(text.front()) != kLetters[i])
      return std::nullopt;
    text.remove_prefix(1);
    const std::optional<int32_t> number = TakeNumber(text);
    if (!number)
      return std::nullopt;
    numbers[i] = *number;
  }
  if (!text.empty())
    return std::nullopt;
  return WindowPositions{numbers[0], numbers[1], numbers[2], numbers[3]};
}

void ApplyWindowPositions(const WindowPositions& positions, Settings& settings) {
  settings.Set(opt::MainX, positions.MainX);
  settings.Set(opt::MainY, positions.MainY);
  settings.Set(opt::MiniX, positions.MiniX);
  settings.Set(opt::MiniY, positions.MiniY);
}

}  // namespace tarvik
