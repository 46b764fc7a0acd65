#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tarvik::fakes {

// A canvas over a plain pixel buffer that also remembers every text drawn, so a test can say
// "the green bar is 9 pixels high" or "the cell shows ` 0%`". Text has a fixed cell size per
// character: 7 x 12 pixels.
class PixelCanvas : public platform::Canvas {
 public:
  static constexpr int kCharWidth = 7;
  static constexpr int kCharHeight = 12;

  struct DrawnText {
    platform::Point At;
    std::wstring Text;
    Colour TextColour;
    platform::FontId Font;
  };

  PixelCanvas(int width, int height, Colour background = 0xFFFFFF);

  // Text measures as fonts made for this DPI would: 7 x 12 pixels a character at 96.
  void SetDpi(int dpi) { dpi_ = dpi; }
  [[nodiscard]] Colour At(int x, int y) const;
  [[nodiscard]] const std::vector<DrawnText>& Texts() const { return texts_; }
  // Pixels of the given colour in column x, counted over the whole height.
  [[nodiscard]] int CountInColumn(int x, Colour colour) const;

  [[nodiscard]] platform::Size Extent() const override { return {width_, height_}; }
  void FillBox(const platform::Rect& box, Colour colour) override;
  void FillBoxAlpha(const platform::Rect& box, Colour colour, int alpha) override;
  void Line(platform::Point from, platform::Point to, Colour colour) override;
  void Pixel(platform::Point at, Colour colour) override;
  void SetFont(platform::FontId font) override { font_ = font; }
  void Text(platform::Point at, const std::wstring& text, Colour textColour,
            Colour backColour) override;
  void TextTransparent(platform::Point at, const std::wstring& text, Colour textColour) override;
  [[nodiscard]] platform::Size TextSize(const std::wstring& text) const override;

 private:
  int width_;
  int height_;
  int dpi_ = 96;
  std::vector<Colour> pixels_;
  std::vector<DrawnText> texts_;
  platform::FontId font_ = platform::kNoFont;
};

}  // namespace tarvik::fakes
