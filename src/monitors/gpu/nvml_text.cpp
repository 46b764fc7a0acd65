#include "monitors/gpu/nvml_text.h"

#include <cstring>

#include "text/utf8.h"

namespace tarvik {

std::wstring NvmlText(const char* buffer, size_t size) {
  return FromUtf8(std::string_view(buffer, strnlen(buffer, size)));
}

}  // namespace tarvik
