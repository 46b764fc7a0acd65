#pragma once

#include "platform/geometry.h"

namespace tarvik {

// Where the windows open and how far they may move: every rule keeps them on the desktop.

inline constexpr int kMiniDefaultWidth = 234;

// The progress window opens in the lower right corner of the desktop.
[[nodiscard]] platform::Point ProgressWindowPosition(platform::Size desktop);

// The mini window reopens at its saved position unless that is unset or would leave the desktop,
// in which case it goes back to the lower right corner.
[[nodiscard]] platform::Point MiniWindowStartPosition(platform::Point saved, int height,
                                                      platform::Size desktop);

// The main window's saved position, kept inside the work area of its monitor, off the taskbar;
// an unset coordinate keeps the window's current one. A window taller or wider than the work
// area keeps its top left corner in it, so that its title bar and tabs stay reachable.
[[nodiscard]] platform::Point MainWindowStartPosition(platform::Point saved,
                                                      platform::Point current,
                                                      platform::Size window,
                                                      const platform::Rect& work);

// Where a window lies inside the work area: where it is, unless part of it sticks out, in which
// case it moves back in; one larger than the work area keeps its top left corner in it.
[[nodiscard]] platform::Point InsideWorkArea(const platform::Rect& window,
                                             const platform::Rect& work);

// Where the mini window goes so that it stays inside the work area of its monitor: a window whose
// bottom edge comes within 7 pixels of the work area's bottom is lifted well clear of it, one
// whose right edge comes within 7 pixels of the right is moved left to 7 pixels from it. Past
// the left or top (also a window larger than the work area) it stops at that edge.
[[nodiscard]] platform::Point KeepInWorkArea(const platform::Rect& window,
                                             const platform::Rect& work);

struct NudgeResult {
  platform::Point Position;
  bool Refused = false;
};

// Moves the mini window by a keyboard step. It never goes past the left or top edge, nor past
// the right or bottom edge; a 1-pixel step that would pass the right or bottom edge is refused.
[[nodiscard]] NudgeResult NudgeMiniWindow(platform::Point current, platform::Point step,
                                          platform::Size window, platform::Size desktop);

}  // namespace tarvik
