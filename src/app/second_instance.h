#pragma once

#include "platform/clock.h"
#include "platform/gui.h"

namespace tarvik {

// What a second copy does: it shows a small notice for five seconds and tells the running copy
// to show itself. It reads and writes no file. The running copy is told even when the notice
// cannot open.
void RunSecondInstance(platform::Gui& gui, const platform::Clock& clock, int userLangId);

}  // namespace tarvik
