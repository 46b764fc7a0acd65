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
// A row is this much lower than a line of the font: the lines overlap a little, so the last
// row's text reaches this far below its cell.
inline constexpr int kRowOverlap = 2;
// The built-in cells fill rows 1-4 and columns 1-29; every further row is as wide.
inline constexpr int kBuiltInRows = 4;
inline constexpr int kCellColumns = 29;

// Marks the built-in cells active with their row, column, width, colours, label and key, and
// lays them out for compact mode ("Borderless Window") or the normal one.
void BuildBuiltInCells(Meters& meters, const CellMetrics& metrics, bool compact);
// Compact mode drops the Phys and Page labels, narrows those cells and shows the three caption
// cells "[-]", "[+]" and "[X]", which then stand in for the missing title bar's buttons.
void ApplyCompactCells(Meters& meters, const CellMetrics& metrics, bool compact);

// Every cell that has a row is put at the pixels of its row and column in these metrics (the
// font changed size with the window's DPI).
void PlaceCells(Meters& meters, const CellMetrics& metrics);

// Drive meters 1-26 carry the one-letter names "A" ... "Z"; they have no label, as their row
// text starts with the letter and its mark.
void LabelDriveCells(Meters& meters);

// Lays out the rows below the built-in cells: each active further item (meters 41-48, then
// 49-80) on a row of its own, then each active drive that has a display order on the row of
// that order counted from the last further item's. Cells not shown lose their place. Returns
// the number of rows in use.
int LayOutFurtherCells(Meters& meters, const CellMetrics& metrics);
// An active cell that the layout would show but has not placed yet: it needs a new layout.
[[nodiscard]] bool AwaitsPlace(const Meters& meters, int meter);
// The canvas that holds `rows` rows of cells, in its own pixels: the cells end at its right edge.
[[nodiscard]] platform::Size CellCanvasSize(int rows, const CellMetrics& metrics);

// The box a cell covers on the canvas.
[[nodiscard]] platform::Rect CellBox(const MeterRecord& meter, const CellMetrics& metrics);
// The active cell under a canvas point, if any.
[[nodiscard]] std::optional<int> MeterAt(const Meters& meters, platform::Point at,
                                         const CellMetrics& metrics);
// The main-window panel that shows more about a meter; nothing for the caption cells.
[[nodiscard]] std::optional<int> PanelOfMeter(int meter);

}  // namespace tarvik
