#include "platform/win32/dib_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/os_call_count.h"
#include "platform/pixel_math.h"

namespace tarvik::win32 {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// DIB pixels keep blue in the lowest byte; the program's colours keep red there.
uint32_t ToPixel(Colour colour) {
  return kOpaque | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

Colour FromPixel(uint32_t pixel) {
  return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

}  // namespace

DibCanvas::DibCanvas(int width, int height, FontLookup fonts)
    : width_(std::max(1, width)), height_(std::max(1, height)), fonts_(std::move(fonts)) {
  dc_.Reset(::CreateCompatibleDC(nullptr));
  if (!dc_)
    return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr)
    return;
  pixels_ = static_cast<uint32_t*>(bits);
  previousBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  FillBox({0, 0, width_, height_}, 0xFFFFFF);
}

DibCanvas::~DibCanvas() {
  if (!dc_)
    return;
  if (previousFont_)
    ::SelectObject(dc_.Get(), previousFont_);
  if (previousBitmap_)
    ::SelectObject(dc_.Get(), previousBitmap_);
}

uint32_t* DibCanvas::Row(int y) const {
  return pixels_ + static_cast<ptrdiff_t>(y) * width_;
}

Colour DibCanvas::PixelAt(platform::Point at) const {
  if (!pixels_ || at.X < 0 || at.Y < 0 || at.X >= width_ || at.Y >= height_)
    return 0;
  return FromPixel(Row(at.Y)[at.X]);
}

void DibCanvas::MakeOpaque() {
  if (!pixels_)
    return;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x)
      Row(y)[x] |= kOpaque;
  }
}

void DibCanvas::FillBox(const platform::Rect& box, Colour colour) {
  FillBoxAlpha(box, colour, 255);
}

void DibCanvas::FillBoxAlpha(const platform::Rect& box, Colour colour, int alpha) {
  if (!pixels_)
    return;
  const int left = std::max(0, box.X);
  const int top = std::max(0, box.Y);
  const int right = std::min(width_, box.Right());
  const int bottom = std::min(height_, box.Bottom());
  const uint32_t pixel = ToPixel(colour);
  const int clamped = std::clamp(alpha, 0, 255);
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = Row(y);
    for (int x = left; x < right; ++x)
      row[x] = clamped == 255 ? pixel : (kOpaque | platform::BlendChannels(row[x], pixel, clamped));
  }
}

void DibCanvas::Line(platform::Point from, platform::Point to, Colour colour) {
  platform::TraceLine(from, to, [&](platform::Point at) { Pixel(at, colour); });
}

void DibCanvas::Pixel(platform::Point at, Colour colour) {
  if (!pixels_ || at.X < 0 || at.Y < 0 || at.X >= width_ || at.Y >= height_)
    return;
  Row(at.Y)[at.X] = ToPixel(colour);
}

void DibCanvas::SetFont(platform::FontId font) {
  TARVIK_COUNT_OS_CALL("SelectObject font");
  const HFONT handle = fonts_ ? fonts_(font) : nullptr;
  if (!dc_ || !handle)
    return;
  const HGDIOBJ previous = ::SelectObject(dc_.Get(), handle);
  if (!previousFont_)
    previousFont_ = previous;
}

void DibCanvas::DrawTextRun(platform::Point at, const std::wstring& text, Colour textColour,
                            int mode) {
  TARVIK_COUNT_OS_CALL("TextOutW");
  if (!dc_ || text.empty())
    return;
  ::SetBkMode(dc_.Get(), mode);
  ::SetTextColor(dc_.Get(), textColour);
  ::TextOutW(dc_.Get(), at.X, at.Y, text.c_str(), static_cast<int>(text.size()));
  // Text is the only drawing that goes through GDI, which may hold it back: it reaches the
  // pixels here, so that the pixel work around it (and the readers of Bits) need not wait.
  ::GdiFlush();
}

void DibCanvas::Text(platform::Point at, const std::wstring& text, Colour textColour,
                     Colour backColour) {
  if (!dc_)
    return;
  ::SetBkColor(dc_.Get(), backColour);
  DrawTextRun(at, text, textColour, OPAQUE);
}

void DibCanvas::TextTransparent(platform::Point at, const std::wstring& text, Colour textColour) {
  DrawTextRun(at, text, textColour, TRANSPARENT);
}

platform::Size DibCanvas::TextSize(const std::wstring& text) const {
  TARVIK_COUNT_OS_CALL("GetTextExtentPoint32W");
  SIZE size{};
  if (!dc_)
    return {};
  const wchar_t* measured = text.empty() ? L" " : text.c_str();
  const int length = text.empty() ? 1 : static_cast<int>(text.size());
  if (!::GetTextExtentPoint32W(dc_.Get(), measured, length, &size))
    return {};
  return {text.empty() ? 0 : static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

}  // namespace tarvik::win32
