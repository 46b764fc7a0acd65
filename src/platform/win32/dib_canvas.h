#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/canvas.h"
#include "platform/win32/handles.h"

namespace tarvik::win32 {

// A canvas over a 32-bit top-down DIB section with its own memory device context. Boxes, lines
// and pixels are written straight into the pixels; text goes through GDI.
class DibCanvas final : public platform::Canvas {
 public:
  using FontLookup = std::function<HFONT(platform::FontId)>;

  DibCanvas(int width, int height, FontLookup fonts);
  ~DibCanvas() override;
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  [[nodiscard]] bool IsValid() const { return pixels_ != nullptr; }
  [[nodiscard]] HDC Dc() const { return dc_.Get(); }
  [[nodiscard]] HBITMAP Bitmap() const { return bitmap_.Get(); }
  // The pixels, width by height, top row first; text drawn through GDI is already in them.
  [[nodiscard]] const uint32_t* Bits() const { return pixels_; }
  // The colour at a pixel (red in the lowest byte), or 0 outside.
  [[nodiscard]] Colour PixelAt(platform::Point at) const;
  // Makes every pixel opaque, as icons drawn from this canvas need.
  void MakeOpaque();

  [[nodiscard]] platform::Size Extent() const override { return {width_, height_}; }
  void FillBox(const platform::Rect& box, Colour colour) override;
  void FillBoxAlpha(const platform::Rect& box, Colour colour, int alpha) override;
  void Line(platform::Point from, platform::Point to, Colour colour) override;
  void Pixel(platform::Point at, Colour colour) override;
  void SetFont(platform::FontId font) override;
  void Text(platform::Point at, const std::wstring& text, Colour textColour,
            Colour backColour) override;
  void TextTransparent(platform::Point at, const std::wstring& text, Colour textColour) override;
  [[nodiscard]] platform::Size TextSize(const std::wstring& text) const override;

 private:
  [[nodiscard]] uint32_t* Row(int y) const;
  void DrawTextRun(platform::Point at, const std::wstring& text, Colour textColour, int mode);

  int width_;
  int height_;
  FontLookup fonts_;
  UniqueDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ previousBitmap_ = nullptr;
  HGDIOBJ previousFont_ = nullptr;
  uint32_t* pixels_ = nullptr;
};

}  // namespace tarvik::win32
