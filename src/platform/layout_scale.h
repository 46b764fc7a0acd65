#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/geometry.h"

namespace tarvik::platform {

// Windows are laid out in base units (96-DPI pixels) and shown at a DPI of their own: the
// DPI of the monitor they are on, or less where the window would not fit that monitor.

inline constexpr int kBaseDpi = 96;
// Text laid out at less would be too small to read (8-point text is 9 pixels high at 77 DPI); a
// window that needs less keeps this and sticks out of its work area instead.
inline constexpr int kSmallestLayoutDpi = 77;
// What a monitor may report: 50 % to 1000 %. Anything else is not believed.
inline constexpr int kLowestMonitorDpi = 48;
inline constexpr int kHighestMonitorDpi = 960;

[[nodiscard]] constexpr bool IsPlausibleDpi(int dpi) {
  return dpi >= kLowestMonitorDpi && dpi <= kHighestMonitorDpi;
}

// A length in base units at `dpi`, rounded to the nearest pixel (halves away from zero).
[[nodiscard]] constexpr int ScaledLength(int base, int dpi) {
  const int64_t scaled = static_cast<int64_t>(base) * dpi;
  const int64_t half = kBaseDpi / 2;
  return static_cast<int>((scaled >= 0 ? scaled + half : scaled - half) / kBaseDpi);
}

// Pixels at `dpi` back in base units, rounded to the nearest unit.
[[nodiscard]] constexpr int UnscaledLength(int pixels, int dpi) {
  if (dpi <= 0)
    return pixels;
  const int64_t scaled = static_cast<int64_t>(pixels) * kBaseDpi;
  const int64_t half = dpi / 2;
  return static_cast<int>((scaled >= 0 ? scaled + half : scaled - half) / dpi);
}

[[nodiscard]] constexpr Size ScaledSize(Size base, int dpi) {
  return {ScaledLength(base.Width, dpi), ScaledLength(base.Height, dpi)};
}

// A box scaled by its edges rather than by its size: boxes that touch or keep apart in base units
// touch or keep apart at every DPI, and one inside another stays inside it.
[[nodiscard]] constexpr Rect ScaledBox(const Rect& base, int dpi) {
  const int x = ScaledLength(base.X, dpi);
  const int y = ScaledLength(base.Y, dpi);
  return {x, y, ScaledLength(base.X + base.Width, dpi) - x,
          ScaledLength(base.Y + base.Height, dpi) - y};
}

// The scale in percent that a DPI stands for, rounded: 96 is 100 %, 144 is 150 %.
[[nodiscard]] constexpr int PercentOfDpi(int dpi) {
  return (dpi * 100 + kBaseDpi / 2) / kBaseDpi;
}

// The DPI a window's layout takes on a monitor of `monitorDpi` whose work area is `workArea`
// pixels: the monitor's own where the window, `client` base units with a frame of `frame`
// pixels, fits; otherwise the largest DPI at which it does, but not below kSmallestLayoutDpi.
// The frame is taken at the monitor's DPI, which it only shrinks from, so what is chosen fits.
// An empty work area (the system gave none) changes nothing.
[[nodiscard]] constexpr int LayoutDpiFor(Size client, Size frame, Size workArea, int monitorDpi) {
  if (workArea.Width <= 0 || workArea.Height <= 0)
    return monitorDpi;
  const auto fits = [&](int dpi) {
    const Size outer = ScaledSize(client, dpi);
    return outer.Width + frame.Width <= workArea.Width &&
           outer.Height + frame.Height <= workArea.Height;
  };
  const int lowest = std::min(monitorDpi, kSmallestLayoutDpi);
  int dpi = monitorDpi;
  while (dpi > lowest && !fits(dpi))
    --dpi;
  return dpi;
}

// Where a window goes when the DPI of its monitor changes: at the top left of the rectangle the
// system suggests, with the outer size of its new layout, moved back into the work area of the
// suggested place where it would stick out (one larger than the work area keeps its top left
// corner in it, so that its title bar stays reachable). An empty work area moves nothing.
[[nodiscard]] constexpr Rect PlaceAfterDpiChange(const Rect& suggested, Size outer,
                                                 const Rect& workArea) {
  if (workArea.Width <= 0 || workArea.Height <= 0)
    return {suggested.X, suggested.Y, outer.Width, outer.Height};
  const int lastX = std::max(workArea.X, workArea.X + workArea.Width - outer.Width);
  const int lastY = std::max(workArea.Y, workArea.Y + workArea.Height - outer.Height);
  return {std::clamp(suggested.X, workArea.X, lastX), std::clamp(suggested.Y, workArea.Y, lastY),
          outer.Width, outer.Height};
}

}  // namespace tarvik::platform
