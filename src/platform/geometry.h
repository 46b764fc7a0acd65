#pragma once

namespace tarvik::platform {

struct Point {
  int X = 0;
  int Y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int Width = 0;
  int Height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const Rect&) const = default;
  [[nodiscard]] int Right() const { return X + Width; }
  [[nodiscard]] int Bottom() const { return Y + Height; }
};

}  // namespace tarvik::platform
