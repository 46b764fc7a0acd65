#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/guarded.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/colour.h"
#include "text/date_format.h"

namespace tarvik {

// One value of a history graph and the wall-clock date it was added at.
struct GraphSample {
  DateValue Date = 0;
  float Value = 0.0f;
};

// A history graph: its look, set by attribute numbers (ui/graph_attributes.h), and its samples,
// oldest first. It keeps one sample per pixel column of its canvas.
struct GraphRecord {
  int CanvasId = 0;
  int UserValue = 0;
  int Capacity = 0;
  platform::FontId Font = platform::kNoFont;
  std::vector<GraphSample> Samples;
  int Maximum = 100;  // the value drawn at full height
  int Smoothing = 0;  // how many earlier samples a new one is averaged with
  Colour Background = Rgb(255, 255, 255);
  Colour OuterGrid = Rgb(128, 128, 128);  // first and last grid lines, label boxes
  Colour InnerGrid = Rgb(224, 224, 224);
  Colour Line = Rgb(255, 0, 0);
  // The colours are shown as their opposites (Ctrl+I); a colour set meanwhile is shown so too.
  bool Inverted = false;
  int TimeDivisions = 0;   // 0: as many as the labels leave room for
  int ValueDivisions = 0;  // 0: as many as the labels leave room for
  int Decimals = 0;
  bool HideTimeLabels = false;
  bool HideValueLabels = false;
};

// A record with every default, keeping as many samples as the canvas is wide in pixels.
[[nodiscard]] GraphRecord NewGraphRecord(int canvasId, int widthPixels, int userValue);

// Writes the field that the attribute number names; any other number is ignored.
void SetGraphAttribute(GraphRecord& record, int number, int value);

// Smoothing on or off (averaging with one earlier sample, or none); it applies to samples added
// from now on.
void ToggleSmoothing(GraphRecord& record);
// Turns the four colours (background, both grid colours, the series) into their opposites, so
// the graph reads light on dark or dark on light, or back.
void InvertColours(GraphRecord& record);

// The canvas is now `widthPixels` wide (laid out at another DPI): the record keeps as many of its
// newest samples as it now has columns.
void ResizeGraph(GraphRecord& record, int widthPixels);

// Appends `count` samples of the value, smoothed by the record's smoothing, all dated `now`,
// and drops the oldest beyond the capacity.
void AddGraphSamples(GraphRecord& record, float value, int count, DateValue now);

// The automatic scale of a rate graph, in KB/s: it rises at once to the next multiple of 128
// above a new value and falls back only after a quiet spell.
struct RateScale {
  double Current = 0.0;
  int Maximum = 128;
  double Peak = 0.0;
  int Passes = 0;
};

// One pass of the rate graph's scale with the current byte rate; returns the new maximum.
// The pass counts stretch with the display's DPI factor (1.0 at 96 DPI), as the graphs do.
int RescaleRate(RateScale& scale, int64_t bytesPerSecond, double dpiFactor);

// The records of every history graph by canvas id, behind one lock: the samplers add samples
// from their threads, the drawing and the hover read-out take snapshots.
class GraphStore {
 public:
  explicit GraphStore(const platform::Clock& clock) : clock_(clock) {}

  // Makes the graph's record with every default, replacing one of the same id.
  void Create(int canvasId, int widthPixels, int userValue = 0);
  // False when there is no such graph.
  bool SetAttribute(int canvasId, int number, int value);
  // Changes a graph's record under the lock; false when there is no such graph.
  bool Change(int canvasId, const std::function<void(GraphRecord&)>& change);
  // Count samples of the value, stamped with the current date; unknown graphs are ignored.
  void AddSample(int canvasId, float value, int count = 1);
  // The rate graphs (drive write 308, drive read 304, network send 305, network receive 306):
  // one scale pass, its maximum written to the graph. Other ids are ignored.
  void RescaleRateGraph(int canvasId, int64_t bytesPerSecond, double dpiFactor);

  // The ids of every graph made so far.
  [[nodiscard]] std::vector<int> Ids();
  // Copies taken under the lock; nothing for an unknown graph.
  [[nodiscard]] std::optional<GraphRecord> Snapshot(int canvasId);
  [[nodiscard]] std::vector<GraphSample> Samples(int canvasId);

 private:
  struct State {
    std::map<int, GraphRecord> Graphs;
    std::array<RateScale, 4> RateScales{};
  };

  const platform::Clock& clock_;
  Guarded<State> state_;
};

}  // namespace tarvik
