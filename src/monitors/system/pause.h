#pragma once

#include <functional>

namespace tarvik {

// Waits up to the given milliseconds; true when it ended early because the program stops.
using Pause = std::function<bool(int milliseconds)>;

}  // namespace tarvik
