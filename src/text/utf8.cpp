#include "text/utf8.h"

#include <cstdint>

namespace tarvik {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendWide(std::wstring& out, char32_t code) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (code >> 10));
      out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(code);
}

// Reads one code point from wide text, joining UTF-16 surrogate pairs.
char32_t NextWide(std::wstring_view text, size_t& at) {
  char32_t code = static_cast<char32_t>(text[at++]);
  if constexpr (sizeof(wchar_t) == 2) {
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (at < text.size()) {
        const char32_t low = static_cast<char32_t>(text[at]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          ++at;
          return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
      }
      return kReplacement;
    }
    if (code >= 0xDC00 && code <= 0xDFFF)
      return kReplacement;
  }
  return code;
}

// Reads one code point from UTF-8; a malformed sequence yields U+FFFD and skips one byte.
char32_t NextUtf8(std::string_view bytes, size_t& at) {
  const auto lead = static_cast<uint8_t>(bytes[at]);
  int length = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    ++at;
    return kReplacement;
  }
  if (at + static_cast<size_t>(length) > bytes.size()) {
    ++at;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    code = (code << 6) | (next & 0x3F);
  }
  at += static_cast<size_t>(length);
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return kReplacement;
  return code;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t code) {
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    code = kReplacement;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();)
    AppendUtf8(out, NextWide(text, at));
  return out;
}

std::wstring FromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();)
    AppendWide(out, NextUtf8(bytes, at));
  return out;
}

}  // namespace tarvik
