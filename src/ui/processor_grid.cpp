#include "ui/processor_grid.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "settings/colour_list.h"
#include "ui/graph_attributes.h"

namespace tarvik {
namespace {

// Mid-tone colours that stand out on the graphs' white background and from their neighbours.
// None is 0 or white, which a saved colour list could not hold.
constexpr std::array<Colour, 16> kProcessorColours = {
    Rgb(220, 20, 60),  Rgb(0, 102, 204), Rgb(0, 153, 102),  Rgb(204, 102, 0),
    Rgb(153, 51, 204), Rgb(0, 153, 153), Rgb(128, 128, 0),  Rgb(204, 51, 153),
    Rgb(51, 102, 153), Rgb(102, 153, 0), Rgb(153, 102, 51), Rgb(102, 102, 204),
    Rgb(0, 128, 64),   Rgb(204, 0, 102), Rgb(64, 128, 128), Rgb(128, 64, 0)};

// A cell narrower than this gets a single time division, so its labels do not overlap.
constexpr int kNarrowCell = 100;
// Grids up to this many rows are high enough to label the values of the first column.
constexpr int kLabelledFirstColumnRows = 6;

// The size of one of `count` cells that share `length` with a gap between neighbours; never
// below one pixel, however large the gap.
int CellLength(int length, int count, int gap) {
  return std::max(1, (length - (count - 1) * gap) / count);
}

std::vector<GraphAttribute> CellAttributes(const ProcessorGrid& grid, int column, int processor) {
  std::vector<GraphAttribute> attributes;
  if (grid.Rows < 5)
    attributes.push_back({graph_attr::ValueDivisions, 4});
  else if (grid.Rows < 8)
    attributes.push_back({graph_attr::ValueDivisions, 2});
  if (grid.CellWidth < kNarrowCell)
    attributes.push_back({graph_attr::TimeDivisions, 1});
  attributes.push_back({graph_attr::HideTimeLabels, 1});
  if (column > 1 || grid.Rows > kLabelledFirstColumnRows)
    attributes.push_back({graph_attr::HideValueLabels, 1});
  attributes.push_back({graph_attr::LineColour, static_cast<int>(ProcessorColour(processor))});
  return attributes;
}

}  // namespace

ProcessorGrid LayOutProcessorGrid(const ProcessorGridInput& input) {
  ProcessorGrid grid;
  // A stored grid with no rows or columns could never grow to hold anything.
  grid.Columns = std::max(1, input.Columns);
  grid.Rows = std::max(1, input.Rows);
  const int count = std::clamp(input.ProcessorCount, 0, kMaxProcessorGraphs);
  while (grid.Columns * grid.Rows < count) {
    if (grid.Rows + 1 < grid.Columns) {
      --grid.Columns;
      ++grid.Rows;
    } else {
      ++grid.Columns;
    }
  }
  const int gap = std::max(0, input.Gap);
  grid.CellWidth = CellLength(input.AreaWidth, grid.Columns, gap);
  grid.CellHeight = CellLength(input.AreaHeight, grid.Rows, gap);
  for (int processor = 0; processor < count; ++processor) {
    const int row = processor / grid.Columns + 1;
    const int column = processor % grid.Columns + 1;
    ProcessorGraphCell cell;
    cell.Processor = processor;
    cell.Box = {input.Origin.X + (column - 1) * (grid.CellWidth + gap),
                input.Origin.Y + (row - 1) * (grid.CellHeight + gap), grid.CellWidth,
                grid.CellHeight};
    cell.Attributes = CellAttributes(grid, column, processor);
    cell.Label = ProcessorLabel(processor, count);
    grid.Cells.push_back(std::move(cell));
  }
  return grid;
}

Colour ProcessorColour(int processor) {
  const auto count = static_cast<int>(kProcessorColours.size());
  return kProcessorColours[static_cast<size_t>(((processor % count) + count) % count)];
}

void StoreProcessorColours(Settings& settings, int processorCount) {
  const int count = std::clamp(processorCount, 0, kMaxProcessorGraphs);
  settings.Set(opt::ProcessorColourLast, count - 1);
  const ColourRange range = ProcessorColourRange(settings);
  for (int processor = 0; processor < count && range.First + processor <= range.Last; ++processor) {
    settings.Set(range.First + processor, static_cast<int32_t>(ProcessorColour(processor)));
  }
}

}  // namespace tarvik
