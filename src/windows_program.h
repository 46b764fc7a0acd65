#pragma once

#include <functional>

#include "app/application.h"

namespace tarvik {

// Builds the Windows implementations of the platform interfaces, hands them to the program and
// runs it; `prepare` sees the program before it starts. Returns the exit code.
int RunOnWindows(const std::function<void(Application&)>& prepare);

}  // namespace tarvik
