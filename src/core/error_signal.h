#pragma once

#include "core/settings.h"
#include "platform/environment.h"

namespace tarvik {

// The program's one error sound: 1000 Hz for 55 ms, and only with "Enable Sound" on.
void ErrorSignal(const Settings& settings, platform::Environment& environment);

}  // namespace tarvik
