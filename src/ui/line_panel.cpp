#include "ui/line_panel.h"

namespace tarvik {
namespace {

constexpr Colour kPanelBack = 0xF0F0F0;
constexpr Colour kPanelText = 0x000000;

}  // namespace

void DrawLinePanel(platform::Gui& gui, int canvas, platform::FontId font,
                   const std::vector<std::wstring>& lines) {
  gui.DrawCanvas(canvas, [&](platform::Canvas& target) {
    const platform::Size extent = target.Extent();
    target.FillBox({0, 0, extent.Width, extent.Height}, kPanelBack);
    target.SetFont(font);
    int y = 2;
    for (const std::wstring& line : lines) {
      target.TextTransparent({4, y}, line, kPanelText);
      y += target.TextSize(line).Height + 1;
    }
  });
}

}  // namespace tarvik
