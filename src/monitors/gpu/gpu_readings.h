#pragma once

#include <deque>
#include <vector>

#include "monitors/gpu/gpu_device.h"
#include "monitors/gpu/nvml_start.h"
#include "text/date_format.h"

namespace tarvik {

// One entry of a card's temperature history.
struct GpuHistoryEntry {
  Colour RowColour = 0;
  DateValue Date = 0;
  int Temperature = 0;
};

// What the GPU monitor last read, for the window thread: the detail list, the selector, the
// graph titles and the panel copy are built from a copy of it.
struct GpuReadings {
  NvmlSystem System;
  GpuCards Cards;
  std::vector<std::deque<GpuHistoryEntry>> History;  // per card, oldest first
  bool Enumerated = false;
};

}  // namespace tarvik
