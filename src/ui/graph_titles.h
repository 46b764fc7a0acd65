#pragma once

#include <string>

#include "monitors/system/system_readings.h"
#include "ui/graph_drawing.h"

namespace tarvik {

// The two lines under a graph's title that give its current values.
struct GraphValues {
  std::wstring Second;
  std::wstring Third;
};

// The current values of the System and Storage tabs' graphs from the system sampler's
// readings: percent available for the memory graphs, the speed in MHz and in percent of the
// highest, the average load, the drives' KB/s. None for any other graph.
[[nodiscard]] GraphValues SystemGraphValues(int graph, const SystemReadings& readings);

// Processors past this count have cells too narrow for their speed: their graphs show the load
// alone.
inline constexpr int kProcessorsShowingSpeed = 80;

// A processor graph's titles: its label, then its speed and its load (the load alone with more
// than 80 processors); the label alone while the processor has not been read.
[[nodiscard]] GraphTitles ProcessorGraphTitles(int processor, int processorCount,
                                               const SystemReadings& readings);

}  // namespace tarvik
