#include "text/untrusted_text.h"

namespace tarvik {
namespace {

bool IsLineSeparator(wchar_t c) {
  return c == 0x2028 || c == 0x2029;
}

bool TurnsDirection(wchar_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

bool IsHighSurrogate(wchar_t c) {
  return sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
  return sizeof(wchar_t) == 2 && c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool IsControlCharacter(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::wstring OneLineText(std::wstring_view text) {
  std::wstring line(text);
  for (wchar_t& c : line) {
    if (IsControlCharacter(c) || IsLineSeparator(c))
      c = L' ';
  }
  return line;
}

std::wstring UntrustedText(std::wstring_view text, size_t most) {
  std::wstring kept;
  size_t characters = 0;
  for (size_t at = 0; at < text.size() && characters < most; ++at) {
    const wchar_t c = text[at];
    if (IsHighSurrogate(c)) {
      if (at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
        kept += c;
        kept += text[++at];
        ++characters;
      }
      continue;
    }
    if (IsControlCharacter(c) || IsLineSeparator(c) || TurnsDirection(c) || IsLowSurrogate(c))
      continue;
    kept += c;
    ++characters;
  }
  return kept;
}

}  // namespace tarvik
