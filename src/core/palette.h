#pragma once

#include <array>
#include <cstdint>

namespace tarvik {

// A colour keeps red in the lowest byte, green in the middle byte and blue in the highest.
using Colour = uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
         (static_cast<Colour>(blue & 0xFF) << 16);
}

// The 32 colours the program picks from by number.
inline constexpr std::array<Colour, 32> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0xEE82EE, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x80FF80, 0xFFFF00, 0x0000FF, 0xFFC0C0, 0x00FFFF, 0xFFFFFF,
    0xFF00FF, 0x96BACD, 0x5757FF, 0x64B2FF, 0xDDBBC7, 0xAEE4E4, 0xC0E0FF, 0xC0FFC0,
    0xFFCBFF, 0xFFCC99, 0xA08040, 0xDC8080, 0xC080FF, 0x0080FF, 0x60A8C0, 0x408040};

}  // namespace tarvik
