#pragma once

#include <cstddef>
#include <string>

namespace tarvik {

// The text NVML wrote into a buffer of `size` characters, ending at its terminator or at the
// buffer's end when the library left none, without control characters.
[[nodiscard]] std::wstring NvmlText(const char* buffer, size_t size);

}  // namespace tarvik
