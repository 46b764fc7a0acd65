#pragma once

#include <string>

#include "core/settings.h"
#include "platform/gui.h"
#include "ui/fonts.h"

namespace tarvik {

// Window 100 first serves as the progress window: opened in the lower right corner with a text
// area that receives the numbered start-up lines.
void OpenProgressWindow(platform::Gui& gui, const Settings& settings, const Fonts& fonts);
void AddProgressLine(platform::Gui& gui, const std::wstring& line);

// Closes the progress window and opens the mini window with its canvas at the saved position.
void OpenMiniWindow(platform::Gui& gui, Settings& settings, const Fonts& fonts, bool visible);

// Opacity from "Transparent Window" and the transparency step, and "Enable Always on Top".
[[nodiscard]] int MiniWindowAlpha(const Settings& settings);
void ApplyMiniWindowStyle(platform::Gui& gui, const Settings& settings);

}  // namespace tarvik
