#include "monitors/gpu/nvml_text.h"

#include <cstring>

#include "text/utf8.h"

namespace tarvik {

std::wstring NvmlText(const char* buffer, size_t size) {
  std::wstring text = FromUtf8(std::string_view(buffer, strnlen(buffer, size)));
  // The texts reach the windows, the events and the log: no control character goes along.
  std::erase_if(text, [](wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); });
  return text;
}

}  // namespace tarvik
