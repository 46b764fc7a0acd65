#pragma once

#include <deque>
#include <optional>

#include "core/settings.h"
#include "monitors/gpu/gpu_device.h"
#include "monitors/gpu/gpu_readings.h"
#include "platform/gui.h"
#include "ui/graph_drawing.h"
#include "ui/history_graph.h"

namespace tarvik {

inline constexpr int kGpuGraphsShown = 6;

// The titles of the selected card's six graphs with its current values; "No Data" under each
// while the card gives no load.
[[nodiscard]] GraphTitles GpuGraphTitles(int graph, const std::optional<GpuDevice>& device);

// The title of the temperature graph with the selected card's temperature; "No Data" under it
// while the card gives none.
[[nodiscard]] GraphTitles GpuTemperatureTitles(const std::optional<GpuDevice>& device);

// The Graphics tab's column under the card list: the canvases of the six graphs and, under
// them, the temperature graph's.
void BuildGpuGraphColumn(platform::Gui& gui);

// The graph records of every card the tab can show, each as wide as the column's canvases and
// drawn in its colour of the "ColorGra" list, and the temperature graph's record.
void PrepareGpuGraphs(const platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                      platform::FontId font);

// The column was laid out at another DPI: every card's records keep as many samples as its
// canvases are now wide.
void FitGpuGraphsToColumn(const platform::Gui& gui, GraphStore& graphs, const Settings& settings);

// Draws the selected card's graphs into the column, its temperature graph from its history in
// the colours of its other graphs (the temperature graph's record then holds that history, for
// the hover read-out). Window thread.
void ShowGpuGraphs(platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                   const std::optional<GpuDevice>& device,
                   const std::deque<GpuHistoryEntry>& history);

}  // namespace tarvik
