#include "ui/system_panel.h"

#include <string>
#include <vector>

#include "core/version.h"
#include "platform/layout_scale.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

constexpr int kLogoBaseWidth = 160;  // base units, scaled like the gadgets
constexpr int kBlockGap = 6;
constexpr Colour kFace = Rgb(240, 240, 240);
constexpr Colour kFrame = Rgb(160, 160, 160);
constexpr Colour kLogoShadow = Rgb(192, 192, 192);
constexpr Colour kLogoColour = Rgb(64, 128, 128);
constexpr Colour kText = 0x000000;

void FramedBox(platform::Canvas& canvas, const platform::Rect& box) {
  canvas.FillBox(box, kFace);
  const int right = box.Right() - 1;
  const int bottom = box.Bottom() - 1;
  canvas.Line({box.X, box.Y}, {right, box.Y}, kFrame);
  canvas.Line({box.X, bottom}, {right, bottom}, kFrame);
  canvas.Line({box.X, box.Y}, {box.X, bottom}, kFrame);
  canvas.Line({right, box.Y}, {right, bottom}, kFrame);
}

// The canvas is drawn in pixels of its window's layout: at 150 % the logo box is 240 of them.
int LogoWidth(const platform::Gui& gui) {
  return platform::ScaledLength(kLogoBaseWidth, gui.WindowDpi(gadget::MainWindow));
}

void DrawLogo(platform::Canvas& canvas, const Fonts& fonts, int logoWidth, int height) {
  FramedBox(canvas, {0, 0, logoWidth, height});
  canvas.SetFont(fonts.Tahoma12Bold);
  const std::wstring name = L"Tarvik";
  const platform::Size nameSize = canvas.TextSize(name);
  canvas.SetFont(fonts.Tahoma10);
  const std::wstring version(kShortVersion);
  const platform::Size versionSize = canvas.TextSize(version);
  const int top = (height - nameSize.Height - versionSize.Height) / 2;
  const int nameX = (logoWidth - nameSize.Width) / 2;
  canvas.SetFont(fonts.Tahoma12Bold);
  canvas.TextTransparent({nameX + 1, top}, name, kLogoShadow);
  canvas.TextTransparent({nameX, top - 1}, name, kLogoColour);
  canvas.SetFont(fonts.Tahoma10);
  canvas.TextTransparent({(logoWidth - versionSize.Width) / 2, top + nameSize.Height}, version,
                         kLogoColour);
}

std::vector<std::wstring> LinesOf(const std::wstring& block) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end = block.find(L"\r\n"); end != std::wstring::npos;
       end = block.find(L"\r\n", start)) {
    lines.push_back(block.substr(start, end - start));
    start = end + 2;
  }
  if (start < block.size())
    lines.push_back(block.substr(start));
  return lines;
}

void DrawBlock(platform::Canvas& canvas, const Fonts& fonts, const SystemFacts& facts,
               int logoWidth, platform::Size size) {
  FramedBox(canvas, {logoWidth, 0, size.Width - logoWidth, size.Height});
  canvas.SetFont(fonts.Tahoma10);
  const std::vector<std::wstring> lines = LinesOf(SystemBlockText(facts));
  const int lineHeight = canvas.TextSize(L"Tg").Height;
  // Centred for three lines, whatever the block holds.
  int y = (size.Height - 3 * lineHeight) / 2;
  for (const std::wstring& line : lines) {
    canvas.TextTransparent({logoWidth + kBlockGap, y}, line, kText);
    y += lineHeight;
  }
}

}  // namespace

void DrawSystemPanel(platform::Gui& gui, const Fonts& fonts, const SystemFacts& facts) {
  const int logoWidth = LogoWidth(gui);
  gui.DrawCanvas(gadget::LogoCanvas, [&](platform::Canvas& canvas) {
    const platform::Size size = canvas.Extent();
    DrawLogo(canvas, fonts, logoWidth, size.Height);
    DrawBlock(canvas, fonts, facts, logoWidth, size);
  });
}

}  // namespace tarvik
