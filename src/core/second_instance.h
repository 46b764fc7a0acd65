#pragma once

#include "platform/gui.h"

namespace tarvik {

// What a second copy does: it shows a small notice for five seconds and tells the running copy
// to show itself. It reads and writes no file.
void RunSecondInstance(platform::Gui& gui, int userLangId);

}  // namespace tarvik
