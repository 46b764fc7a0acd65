#pragma once

#include <cstdint>
#include <cstdlib>

#include "platform/geometry.h"

namespace tarvik::platform {

// Calls plot for every point of the line from `from` to `to`, both ends included.
template <typename Plot>
void TraceLine(Point from, Point to, Plot&& plot) {
  const int dx = std::abs(to.X - from.X);
  const int dy = -std::abs(to.Y - from.Y);
  const int stepX = from.X < to.X ? 1 : -1;
  const int stepY = from.Y < to.Y ? 1 : -1;
  int error = dx + dy;
  for (Point at = from;;) {
    plot(at);
    if (at == to)
      break;
    const int doubled = 2 * error;
    if (doubled >= dy)
      error += dy, at.X += stepX;
    if (doubled <= dx)
      error += dx, at.Y += stepY;
  }
}

// Mixes the three 8-bit channels of `over` onto `under` with an opacity of 0..255.
inline uint32_t BlendChannels(uint32_t under, uint32_t over, int alpha) {
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int below = static_cast<int>((under >> shift) & 0xFFu);
    const int above = static_cast<int>((over >> shift) & 0xFFu);
    result |= static_cast<uint32_t>((below * (255 - alpha) + above * alpha) / 255) << shift;
  }
  return result;
}

}  // namespace tarvik::platform
