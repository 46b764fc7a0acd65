#pragma once

#include <cstdint>

namespace tarvik {

// A colour keeps red in the lowest byte, green in the middle byte and blue in the highest.
using Colour = uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
         (static_cast<Colour>(blue & 0xFF) << 16);
}

}  // namespace tarvik
