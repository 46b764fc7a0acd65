#pragma once

#include <string>

#include "core/settings.h"
#include "core/title_board.h"
#include "platform/gui.h"

namespace tarvik {

// The one writer of the mini window's title while the program runs: it shows the summary that
// the monitors last published for the title-bar mode that "Title Bar Text" chooses. Window
// thread only.
class MiniTitle {
 public:
  MiniTitle(platform::Gui& gui, const Settings& settings, const TitleBoard& board)
      : gui_(gui), settings_(settings), board_(board) {}

  // Shows the chosen mode's summary, or the program's title while that mode has none yet;
  // a title equal to the one shown is not set again.
  void Show();

 private:
  platform::Gui& gui_;
  const Settings& settings_;
  const TitleBoard& board_;
};

}  // namespace tarvik
