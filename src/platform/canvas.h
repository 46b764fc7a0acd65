#pragma once

#include <string>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace tarvik::platform {

using FontId = int;
inline constexpr FontId kNoFont = 0;

// The small drawing surface every panel, graph and cell draws on. The Windows implementation
// draws into a DIB section; tests use a pixel buffer that also remembers the texts drawn.
class Canvas {
 public:
  virtual ~Canvas() = default;

  [[nodiscard]] virtual Size Extent() const = 0;
  virtual void FillBox(const Rect& box, Colour colour) = 0;
  virtual void FillBoxAlpha(const Rect& box, Colour colour, int alpha) = 0;
  virtual void Line(Point from, Point to, Colour colour) = 0;
  virtual void Pixel(Point at, Colour colour) = 0;
  virtual void SetFont(FontId font) = 0;
  // Draws on a filled background; pass the text colour as back colour for none.
  virtual void Text(Point at, const std::wstring& text, Colour textColour, Colour backColour) = 0;
  virtual void TextTransparent(Point at, const std::wstring& text, Colour textColour) = 0;
  [[nodiscard]] virtual Size TextSize(const std::wstring& text) const = 0;
};

}  // namespace tarvik::platform
