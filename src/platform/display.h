#pragma once

#include <optional>
#include <string>

namespace tarvik::platform {

// The first display adapter and the desktop's current mode.
struct DisplayFacts {
  std::wstring Adapter;  // the adapter's description as the system gives it
  int Width = 0;
  int Height = 0;
  int ScalePercent = 100;  // 100 at 96 DPI
  int ColourDepth = 0;     // bits per pixel
  int RefreshRate = 0;     // Hz; 0 when the system does not say
};

class Display {
 public:
  virtual ~Display() = default;
  [[nodiscard]] virtual std::optional<DisplayFacts> Current() = 0;
};

}  // namespace tarvik::platform
