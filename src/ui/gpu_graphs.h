#pragma once

#include <optional>

#include "core/settings.h"
#include "monitors/gpu/gpu_device.h"
#include "platform/gui.h"
#include "ui/graph_drawing.h"
#include "ui/history_graph.h"

namespace tarvik {

inline constexpr int kGpuGraphsShown = 6;

// The titles of the selected card's six graphs with its current values; "No Data" under each
// while the card gives no load.
[[nodiscard]] GraphTitles GpuGraphTitles(int graph, const std::optional<GpuDevice>& device);

// The Graphics tab's column of six canvases under the card list.
void BuildGpuGraphColumn(platform::Gui& gui);

// The graph records of every card the tab can show, each as wide as the column's canvases and
// drawn in its colour of the "ColorGra" list.
void PrepareGpuGraphs(const platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                      platform::FontId font);

// The column was laid out at another DPI: every card's records keep as many samples as its
// canvases are now wide.
void FitGpuGraphsToColumn(const platform::Gui& gui, GraphStore& graphs, const Settings& settings);

// Draws the selected card's graphs into the column. Window thread.
void ShowGpuGraphs(platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                   const std::optional<GpuDevice>& device);

}  // namespace tarvik
