#include "ui/fonts.h"

namespace tarvik {

Fonts LoadFonts(platform::Gui& gui) {
  using platform::FontStyle;
  Fonts fonts;
  fonts.Gadget = gui.LoadFont(L"Microsoft Sans Serif", 8, FontStyle::Normal);
  fonts.Console8 = gui.LoadFont(L"Lucida Console", 8, FontStyle::Normal);
  fonts.Console10 = gui.LoadFont(L"Lucida Console", 10, FontStyle::Normal);
  fonts.Tahoma10 = gui.LoadFont(L"Tahoma", 10, FontStyle::Normal);
  fonts.Tahoma12Bold = gui.LoadFont(L"Tahoma", 12, FontStyle::Bold);
  gui.SetDefaultFont(fonts.Gadget);
  return fonts;
}

}  // namespace tarvik
