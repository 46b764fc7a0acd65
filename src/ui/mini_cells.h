#pragma once

#include <array>
#include <optional>

#include "core/meter_table.h"
#include "platform/geometry.h"

namespace tarvik {

using Meters = std::array<MeterRecord, kMeterCount>;

// Cell geometry in the mini-window font: a column is one character wide, a row one pitch high.
struct CellMetrics {
  int CharWidth = 8;
  int RowPitch = 11;
};

// Column 1 starts this far from the canvas's left edge.
inline constexpr int kCellLeft = 2;

// Marks the built-in cells active with their row, column, width, colours, label and key, and
// lays them out for compact mode ("Borderless Window") or the normal one.
void BuildBuiltInCells(Meters& meters, const CellMetrics& metrics, bool compact);
// Compact mode drops the Phys and Page labels, narrows those cells and shows the three caption
// cells "[-]", "[+]" and "[X]", which then stand in for the missing title bar's buttons.
void ApplyCompactCells(Meters& meters, const CellMetrics& metrics, bool compact);

// The box a cell covers on the canvas.
[[nodiscard]] platform::Rect CellBox(const MeterRecord& meter, const CellMetrics& metrics);
// The active cell under a canvas point, if any.
[[nodiscard]] std::optional<int> MeterAt(const Meters& meters, platform::Point at,
                                         const CellMetrics& metrics);
// The main-window panel that shows more about a meter; nothing for the caption cells.
[[nodiscard]] std::optional<int> PanelOfMeter(int meter);

}  // namespace tarvik
