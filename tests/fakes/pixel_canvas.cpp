#include "fakes/pixel_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/layout_scale.h"
#include "platform/pixel_math.h"

namespace tarvik::fakes {

PixelCanvas::PixelCanvas(int width, int height, Colour background)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), background) {}

Colour PixelCanvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    return 0;
  return pixels_[static_cast<size_t>(y * width_ + x)];
}

int PixelCanvas::CountInColumn(int x, Colour colour) const {
  int count = 0;
  for (int y = 0; y < height_; ++y)
    count += At(x, y) == colour ? 1 : 0;
  return count;
}

void PixelCanvas::FillBox(const platform::Rect& box, Colour colour) {
  for (int y = std::max(0, box.Y); y < std::min(height_, box.Bottom()); ++y) {
    for (int x = std::max(0, box.X); x < std::min(width_, box.Right()); ++x)
      Pixel({x, y}, colour);
  }
}

void PixelCanvas::FillBoxAlpha(const platform::Rect& box, Colour colour, int alpha) {
  for (int y = std::max(0, box.Y); y < std::min(height_, box.Bottom()); ++y) {
    for (int x = std::max(0, box.X); x < std::min(width_, box.Right()); ++x) {
      Pixel({x, y}, platform::BlendChannels(At(x, y), colour, alpha));
    }
  }
}

void PixelCanvas::Line(platform::Point from, platform::Point to, Colour colour) {
  platform::TraceLine(from, to, [&](platform::Point at) { Pixel(at, colour); });
}

void PixelCanvas::Pixel(platform::Point at, Colour colour) {
  if (at.X < 0 || at.Y < 0 || at.X >= width_ || at.Y >= height_)
    return;
  pixels_[static_cast<size_t>(at.Y * width_ + at.X)] = colour;
}

void PixelCanvas::Text(platform::Point at, const std::wstring& text, Colour textColour,
                       Colour backColour) {
  const platform::Size size = TextSize(text);
  FillBox({at.X, at.Y, size.Width, size.Height}, backColour);
  TextTransparent(at, text, textColour);
}

void PixelCanvas::TextTransparent(platform::Point at, const std::wstring& text, Colour textColour) {
  texts_.push_back({at, text, textColour, font_});
}

platform::Size PixelCanvas::TextSize(const std::wstring& text) const {
  return {static_cast<int>(text.size()) * platform::ScaledLength(kCharWidth, dpi_),
          platform::ScaledLength(kCharHeight, dpi_)};
}

}  // namespace tarvik::fakes
