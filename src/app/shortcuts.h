#pragma once

#include "platform/gui.h"

namespace tarvik {

// The keyboard commands of the two windows.
enum class Command : int {
  Refresh = 1,
  Reset,
  NudgeUp,
  NudgeDown,
  NudgeLeft,
  NudgeRight,
  NudgeUpFar,
  NudgeDownFar,
  NudgeLeftFar,
  NudgeRightFar,
  CopyPanel,
  NextPanel,
  PreviousPanel,
  ToggleGraphSmoothing,
  InvertGraphColours,
  Enter,  // Return: adds the typed host on the Ping tab
};

// Registers every shortcut on the windows it belongs to: some on both, some on the main only.
void RegisterShortcuts(platform::Gui& gui);

// The step a mini-window move command makes, or {0, 0} for other commands.
[[nodiscard]] platform::Point NudgeStep(Command command);

}  // namespace tarvik
