#pragma once

#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "ui/history_graph.h"

namespace tarvik {

// How strongly the series' area covers the grid behind it, 0..255; its top edge is opaque.
inline constexpr int kGraphFillAlpha = 96;

// The title at the top of a graph and the two lines under it; empty ones are left out.
struct GraphTitles {
  std::wstring First;
  std::wstring Second;
  std::wstring Third;
};

// Draws the whole graph onto its canvas: background, time and value grids with their labels,
// the titles, and the samples of the record as a filled area, newest at the right edge. The unit
// follows the value labels ("%", "KB", "MHz", ...).
void DrawGraph(platform::Canvas& canvas, const GraphRecord& record, std::wstring_view unit,
               const GraphTitles& titles);

}  // namespace tarvik
