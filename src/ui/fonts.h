#pragma once

#include "platform/gui.h"

namespace tarvik {

// The fonts loaded once at start.
struct Fonts {
  platform::FontId Gadget = platform::kNoFont;     // "Microsoft Sans Serif" 8, gadgets' default
  platform::FontId Console8 = platform::kNoFont;   // "Lucida Console" 8
  platform::FontId Console10 = platform::kNoFont;  // "Lucida Console" 10, the mini window's
  platform::FontId Tahoma10 = platform::kNoFont;
  platform::FontId Tahoma12Bold = platform::kNoFont;
};

[[nodiscard]] Fonts LoadFonts(platform::Gui& gui);

}  // namespace tarvik
