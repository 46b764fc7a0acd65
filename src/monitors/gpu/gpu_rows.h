#pragma once

#include <string>

#include "core/palette.h"
#include "monitors/gpu/gpu_device.h"

namespace tarvik {

// The colour of a card's row by its temperature: cyan turning white up to 42 degrees, then
// white turning red up to 84; pure red above that or below 0.
[[nodiscard]] Colour TemperatureColour(int celsius);

// The two-character label of a card: "G0" for the first.
[[nodiscard]] std::wstring GpuShortLabel(int device);

// The card's cell and row text: label, temperature right-aligned in 4 places, fan speed. A value
// that cannot be read shows nothing, or its status while errors are shown; a card out of reach
// shows its status.
[[nodiscard]] std::wstring GpuRowText(int device, const GpuDevice& card, bool showErrors);

// A card's summary for the Graphics tab's list, one column per line: label, GPU load and clock,
// memory load, clock and use, temperature, fan, P-state and power, each value that could not be
// read as "#" and its status. A card out of reach has its label, the status that put it there
// and what that means.
[[nodiscard]] std::wstring GpuSummary(int device, const GpuDevice& card);

}  // namespace tarvik
