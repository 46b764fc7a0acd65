#pragma once

#include <string>

namespace tarvik {

enum class RunEvent { Started, Stopped };

// "Tarvik v2.33 started" (or "stopped"), in the user's language: the line both event lists of
// the main window take when the program starts and when it stops.
[[nodiscard]] std::wstring RunEventText(RunEvent event);

}  // namespace tarvik
