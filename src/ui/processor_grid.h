#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "monitors/system/system_readings.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace tarvik {

// At most this many processors get a graph of their own.
inline constexpr int kMaxProcessorGraphs = 144;

// Where the per-processor graphs go: the grid kept in Settings and the area below the
// Processors tab's lists.
struct ProcessorGridInput {
  int Columns = 1;  // as stored; the grid grows from here until every processor has a cell
  int Rows = 1;
  int ProcessorCount = 1;
  int AreaWidth = 878;
  int AreaHeight = 420;
  int Gap = 4;
  platform::Point Origin{4, 112};
};

// One attribute a graph is given at creation, by its number (graph_attributes.h).
struct GraphAttribute {
  int Number = 0;
  int Value = 0;
  bool operator==(const GraphAttribute&) const = default;
};

struct ProcessorGraphCell {
  int Processor = 0;  // 0-based; the graph id is the first processor graph's id plus this
  platform::Rect Box;
  std::vector<GraphAttribute> Attributes;  // in the order they are set
  std::wstring Label;                      // "CPU 05"
};

struct ProcessorGrid {
  int Columns = 1;
  int Rows = 1;
  int CellWidth = 0;
  int CellHeight = 0;
  std::vector<ProcessorGraphCell> Cells;  // row by row, one per processor
};

// Grows the stored grid until it holds every processor (up to kMaxProcessorGraphs), keeping it
// about as wide as high, and places one graph per processor with its attributes and label.
[[nodiscard]] ProcessorGrid LayOutProcessorGrid(const ProcessorGridInput& input);

// The line colour of a processor's graph, taken in turn from the program's own table.
[[nodiscard]] Colour ProcessorColour(int processor);

// Keeps the processor graphs' colours in Settings (slots from 400, last index in option 212) so
// that they are saved with the other graph colours and a saved list can replace them.
void StoreProcessorColours(Settings& settings, int processorCount);

}  // namespace tarvik
