#pragma once

#include <string>
#include <vector>

#include "monitors/gpu/gpu_device.h"
#include "monitors/gpu/nvml_start.h"
#include "text/date_format.h"

namespace tarvik {

// The Graphics tab's detail list, top to bottom: the status line with the time it was built and
// whether errors are shown, then each card's facts (the first card on top; a card out of reach
// says why), the names of the cards past the eighth, then the library's versions and the count
// of every card.
[[nodiscard]] std::vector<std::wstring> GpuDetailRows(const NvmlSystem& system,
                                                      const GpuCards& cards, bool showErrors,
                                                      DateValue builtAt);

// What the detail list shows when no usable library was found.
[[nodiscard]] std::vector<std::wstring> GpuRequirementRows();

// The brand list's name for the library's brand number; "Unknown" for a number it lacks.
[[nodiscard]] std::wstring GpuBrandName(int brand);

}  // namespace tarvik
