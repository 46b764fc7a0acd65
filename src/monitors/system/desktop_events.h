#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "platform/display.h"

namespace tarvik {

// The first desktop's mode as the System tab last reported it.
struct DesktopMode {
  int Width = 0;
  int Height = 0;
  int ScalePercent = 100;
  int ColourBits = 0;
  int RefreshHz = 0;
};

[[nodiscard]] DesktopMode DesktopModeOf(const platform::DisplayFacts& facts);

// The mode last reported is kept in Settings: the System tab's refresh writes it, the desktop
// watch of the system sampler reads it.
[[nodiscard]] DesktopMode ReportedDesktop(const Settings& settings);
void KeepReportedDesktop(Settings& settings, const DesktopMode& mode);

// One system event per value that differs, in the order width, height, scale, colours,
// frequency: "Desktop Width: 1920 -> 2560", "Desktop Colors: 16-bit -> 32-bit".
[[nodiscard]] std::vector<std::wstring> DesktopChangeEvents(const DesktopMode& last,
                                                            const DesktopMode& now);

}  // namespace tarvik
