#pragma once

#include <span>
#include <string>

#include "ui/gadget_ids.h"
#include "ui/history_graph.h"

namespace tarvik {

// The GPU temperature graph of the Graphics tab, whose samples are degrees Celsius.
inline constexpr int kGpuTemperatureGraph = gadget::GpuTemperatureGraph;

// The hover read-out of a history graph: the sample under the mouse, counted in pixel columns
// from the right edge where the newest one stands, with its date, whole value and unit. Empty
// when no sample stands in that column.
[[nodiscard]] std::wstring GraphReadout(int canvasWidth, int mouseX,
                                        std::span<const GraphSample> samples, int graphId);

}  // namespace tarvik
