#pragma once

#include <string>
#include <vector>

#include "platform/gui.h"

namespace tarvik {

// Draws lines of text one under the other on a canvas of the About tab, on the tab's own grey.
void DrawLinePanel(platform::Gui& gui, int canvas, platform::FontId font,
                   const std::vector<std::wstring>& lines);

}  // namespace tarvik
