#include "ui/window_placement.h"

#include <algorithm>
#include <cstdlib>

namespace tarvik {
namespace {

constexpr int kEdgeGap = 7;
constexpr int kProgressBottomGap = 50;
// A window lifted off the bottom edge stands this far above it, clear of the taskbar's edge.
constexpr int kLiftAboveBottom = 120;

int LimitFor(int desktopExtent, int windowExtent) {
  return std::max(0, desktopExtent - windowExtent);
}

}  // namespace

platform::Point ProgressWindowPosition(platform::Size desktop) {
  return {std::max(0, desktop.Width - kMiniDefaultWidth - kEdgeGap),
          std::max(0, desktop.Height - kMiniDefaultWidth - kProgressBottomGap)};
}

platform::Point MiniWindowStartPosition(platform::Point saved, int height, platform::Size desktop) {
  platform::Point position = saved;
  // A negative coordinate would open the window off-screen just like one past the far edge.
  if (saved.X <= 0 || saved.X + kMiniDefaultWidth + kEdgeGap > desktop.Width) {
    position.X = desktop.Width - kMiniDefaultWidth - kEdgeGap;
  }
  if (saved.Y <= 0 || saved.Y + height > desktop.Height) {
    position.Y = desktop.Height - kMiniDefaultWidth - height;
  }
  return {std::max(0, position.X), std::max(0, position.Y)};
}

platform::Point MainWindowStartPosition(platform::Point saved, platform::Point current,
                                        platform::Size window, const platform::Rect& work) {
  const int x = saved.X < 1 ? current.X : saved.X;
  const int y = saved.Y < 1 ? current.Y : saved.Y;
  return InsideWorkArea({x, y, window.Width, window.Height}, work);
}

platform::Point InsideWorkArea(const platform::Rect& window, const platform::Rect& work) {
  const int lastX = std::max(work.X, work.Right() - window.Width);
  const int lastY = std::max(work.Y, work.Bottom() - window.Height);
  return {std::clamp(window.X, work.X, lastX), std::clamp(window.Y, work.Y, lastY)};
}

platform::Point KeepInWorkArea(const platform::Rect& window, const platform::Rect& work) {
  platform::Point position{window.X, window.Y};
  if (window.Bottom() > work.Bottom() - kEdgeGap)
    position.Y = work.Bottom() - window.Height - kLiftAboveBottom;
  if (window.Right() > work.Right() - kEdgeGap)
    position.X = work.Right() - window.Width - kEdgeGap;
  return {std::max(position.X, work.X), std::max(position.Y, work.Y)};
}

NudgeResult NudgeMiniWindow(platform::Point current, platform::Point step, platform::Size window,
                            platform::Size desktop) {
  const int maxX = LimitFor(desktop.Width, window.Width);
  const int maxY = LimitFor(desktop.Height, window.Height);
  const platform::Point wanted{current.X + step.X, current.Y + step.Y};
  const bool singlePixel = std::abs(step.X) + std::abs(step.Y) == 1;
  const bool passesEdge = (step.X > 0 && wanted.X > maxX) || (step.Y > 0 && wanted.Y > maxY);
  if (singlePixel && passesEdge)
    return {current, true};
  return {{std::clamp(wanted.X, 0, maxX), std::clamp(wanted.Y, 0, maxY)}, false};
}

}  // namespace tarvik
