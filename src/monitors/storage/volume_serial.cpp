#include "monitors/storage/volume_serial.h"

#include <array>

namespace tarvik {
namespace {

constexpr wchar_t kUnreadable = L'?';

bool IsControl(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}
bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// True when the character at `at` is half of a surrogate pair without its other half.
bool IsBrokenSurrogate(std::wstring_view text, size_t at) {
  const wchar_t c = text[at];
  if (IsHighSurrogate(c))
    return at + 1 >= text.size() || !IsLowSurrogate(text[at + 1]);
  if (IsLowSurrogate(c))
    return at == 0 || !IsHighSurrogate(text[at - 1]);
  return false;
}

}  // namespace

std::wstring VolumeSerialText(uint32_t serial) {
  static constexpr std::array<wchar_t, 16> kDigits = {L'0', L'1', L'2', L'3', L'4', L'5',
                                                      L'6', L'7', L'8', L'9', L'A', L'B',
                                                      L'C', L'D', L'E', L'F'};
  std::wstring text(9, L'-');
  for (int digit = 0; digit < 8; ++digit) {
    const size_t at = digit < 4 ? digit : digit + 1;
    text[at] = kDigits[(serial >> (28 - 4 * digit)) & 0xF];
  }
  return text;
}

std::wstring CleanVolumeText(std::wstring_view reported, size_t width) {
  reported = reported.substr(0, reported.find(L'\0'));
  std::wstring text(reported.substr(0, width));
  for (size_t at = 0; at < text.size(); ++at) {
    if (IsControl(text[at]) || IsBrokenSurrogate(text, at))
      text[at] = kUnreadable;
  }
  return text;
}

}  // namespace tarvik
