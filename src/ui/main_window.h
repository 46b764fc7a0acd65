#pragma once

#include "platform/gui.h"
#include "ui/fonts.h"

namespace tarvik {

inline constexpr platform::Size kMainWindowSize{894, 564};

// Builds the main window with its tab panel and the eight tabs. Panels whose contents belong to
// later pieces of the program stay empty here; the About tab has its text and file-status canvas.
void BuildMainWindow(platform::Gui& gui, const Fonts& fonts, bool visible);

}  // namespace tarvik
