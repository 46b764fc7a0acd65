#pragma once

#include "platform/gui.h"
#include "ui/fonts.h"
#include "ui/system_block.h"

namespace tarvik {

// The System tab's top canvas: the logo on the left, in its own framed box, and the three lines
// of the system-information block in a framed box beside it, centred on its height.
void DrawSystemPanel(platform::Gui& gui, const Fonts& fonts, const SystemFacts& facts);

}  // namespace tarvik
