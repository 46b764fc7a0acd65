#pragma once

#include <string>

#include "app/tray_icon.h"
#include "core/settings.h"
#include "core/title_board.h"
#include "platform/gui.h"

namespace tarvik {

// The one writer of the mini window's title while the program runs: it shows the summary that
// the monitors last published for the title-bar mode that "Title Bar Text" chooses, and the
// tray's tooltip tells the same. Window thread only.
class MiniTitle {
 public:
  MiniTitle(platform::Gui& gui, const Settings& settings, const TitleBoard& board, TrayIcon& tray)
      : gui_(gui), settings_(settings), board_(board), tray_(tray) {}

  // Shows the chosen mode's summary ("Tarvik " and the summary in the tooltip), or the program's
  // title in both while that mode has none yet; a title equal to the one shown is not set again.
  void Show();

 private:
  platform::Gui& gui_;
  const Settings& settings_;
  const TitleBoard& board_;
  TrayIcon& tray_;
};

}  // namespace tarvik
