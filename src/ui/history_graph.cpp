#include "ui/history_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/gadget_ids.h"
#include "ui/graph_attributes.h"

namespace tarvik {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr int kRateStep = 128;
constexpr int kQuietPasses = 120;
constexpr int kPassesAfterFall = 30;
constexpr double kPeakAfterFall = 127.0;
// The highest multiple of the step that an int maximum can hold.
constexpr int kLargestRateMaximum = std::numeric_limits<int>::max() / kRateStep * kRateStep;

// The mean of the value and up to `smoothing` samples before it, newest first; a sample of
// exactly 0.0 marks a gap in the series (no data yet), so the walk stops there.
float Smoothed(const std::vector<GraphSample>& samples, float value, int smoothing) {
  double sum = value;
  int terms = 1;
  for (auto sample = samples.rbegin(); sample != samples.rend() && terms <= smoothing; ++sample) {
    if (sample->Value == 0.0f)
      break;
    sum += sample->Value;
    ++terms;
  }
  return static_cast<float>(sum / terms);
}

// The next multiple of the step above the value, kept within an int.
int StepAbove(double value) {
  const double steps = std::trunc(std::max(0.0, value) / kRateStep) + 1.0;
  if (!(steps * kRateStep < kLargestRateMaximum))
    return kLargestRateMaximum;
  return static_cast<int>(steps) * kRateStep;
}

std::optional<size_t> RateScaleSlot(int canvasId) {
  switch (canvasId) {
    case gadget::DriveWriteGraph:
      return 0;
    case gadget::DriveReadGraph:
      return 1;
    case gadget::NetworkSendGraph:
      return 2;
    case gadget::NetworkReceiveGraph:
      return 3;
    default:
      return std::nullopt;
  }
}

Colour Opposite(Colour colour) {
  return kWhite - (colour & kWhite);
}

// A colour as an inverted graph shows it.
Colour AsShown(const GraphRecord& record, int value) {
  const auto colour = static_cast<Colour>(value);
  return record.Inverted ? Opposite(colour) : colour;
}

void KeepNewest(std::vector<GraphSample>& samples, size_t capacity) {
  if (samples.size() > capacity) {
    const auto excess = static_cast<std::ptrdiff_t>(samples.size() - capacity);
    samples.erase(samples.begin(), samples.begin() + excess);
  }
}

}  // namespace

GraphRecord NewGraphRecord(int canvasId, int widthPixels, int userValue) {
  GraphRecord record;
  record.CanvasId = canvasId;
  record.UserValue = userValue;
  record.Capacity = std::max(0, widthPixels);
  return record;
}

void SetGraphAttribute(GraphRecord& record, int number, int value) {
  switch (number) {
    case graph_attr::Maximum:
      record.Maximum = value;
      break;
    case graph_attr::Smoothing:
      record.Smoothing = value;
      break;
    case graph_attr::Background:
      record.Background = AsShown(record, value);
      break;
    case graph_attr::OuterGridColour:
      record.OuterGrid = AsShown(record, value);
      break;
    case graph_attr::InnerGridColour:
      record.InnerGrid = AsShown(record, value);
      break;
    case graph_attr::LineColour:
      record.Line = AsShown(record, value);
      break;
    case graph_attr::TimeDivisions:
      record.TimeDivisions = value;
      break;
    case graph_attr::ValueDivisions:
      record.ValueDivisions = value;
      break;
    case graph_attr::Decimals:
      record.Decimals = value;
      break;
    case graph_attr::Font:
      record.Font = value;
      break;
    case graph_attr::HideTimeLabels:
      record.HideTimeLabels = value != 0;
      break;
    case graph_attr::HideValueLabels:
      record.HideValueLabels = value != 0;
      break;
    default:
      break;
  }
}

void ToggleSmoothing(GraphRecord& record) {
  record.Smoothing ^= 1;
}

void InvertColours(GraphRecord& record) {
  for (Colour* colour : {&record.Background, &record.OuterGrid, &record.InnerGrid, &record.Line})
    *colour = Opposite(*colour);
  record.Inverted = !record.Inverted;
}

void ResizeGraph(GraphRecord& record, int widthPixels) {
  record.Capacity = std::max(0, widthPixels);
  KeepNewest(record.Samples, static_cast<size_t>(record.Capacity));
}

void AddGraphSamples(GraphRecord& record, float value, int count, DateValue now) {
  if (count < 1)
    return;
  if (record.Smoothing > 0 && value > 0.0f)
    value = Smoothed(record.Samples, value, record.Smoothing);
  const size_t capacity = static_cast<size_t>(std::max(0, record.Capacity));
  // Only the newest `capacity` of the new samples can survive the trimming below.
  const size_t added = std::min(static_cast<size_t>(count), capacity);
  record.Samples.insert(record.Samples.end(), added, GraphSample{now, value});
  KeepNewest(record.Samples, capacity);
}

int RescaleRate(RateScale& scale, int64_t bytesPerSecond, double dpiFactor) {
  const double factor = std::isfinite(dpiFactor) && dpiFactor > 0.0 ? dpiFactor : 1.0;
  scale.Current = static_cast<double>(bytesPerSecond) / 1024.0;
  if (scale.Current > scale.Maximum) {
    scale.Maximum = StepAbove(scale.Current);
    scale.Passes = 0;
    return scale.Maximum;
  }
  ++scale.Passes;
  scale.Peak = std::max(scale.Peak, scale.Current);
  if (scale.Passes > static_cast<int>(kQuietPasses * factor)) {
    scale.Maximum = StepAbove(scale.Peak);
    scale.Passes = static_cast<int>(kPassesAfterFall * factor);
    scale.Peak = kPeakAfterFall;
  }
  return scale.Maximum;
}

void GraphStore::Create(int canvasId, int widthPixels, int userValue) {
  auto state = state_.Lock();
  state->Graphs[canvasId] = NewGraphRecord(canvasId, widthPixels, userValue);
}

bool GraphStore::SetAttribute(int canvasId, int number, int value) {
  auto state = state_.Lock();
  const auto graph = state->Graphs.find(canvasId);
  if (graph == state->Graphs.end())
    return false;
  SetGraphAttribute(graph->second, number, value);
  return true;
}

bool GraphStore::Change(int canvasId, const std::function<void(GraphRecord&)>& change) {
  auto state = state_.Lock();
  const auto graph = state->Graphs.find(canvasId);
  if (graph == state->Graphs.end())
    return false;
  change(graph->second);
  return true;
}

void GraphStore::AddSample(int canvasId, float value, int count) {
  const DateValue now = clock_.NowLocal();
  auto state = state_.Lock();
  const auto graph = state->Graphs.find(canvasId);
  if (graph != state->Graphs.end())
    AddGraphSamples(graph->second, value, count, now);
}

void GraphStore::RescaleRateGraph(int canvasId, int64_t bytesPerSecond, double dpiFactor) {
  const std::optional<size_t> slot = RateScaleSlot(canvasId);
  if (!slot)
    return;
  auto state = state_.Lock();
  const int maximum = RescaleRate(state->RateScales[*slot], bytesPerSecond, dpiFactor);
  const auto graph = state->Graphs.find(canvasId);
  if (graph != state->Graphs.end())
    SetGraphAttribute(graph->second, graph_attr::Maximum, maximum);
}

std::vector<int> GraphStore::Ids() {
  auto state = state_.Lock();
  std::vector<int> ids;
  for (const auto& [id, record] : state->Graphs)
    ids.push_back(id);
  return ids;
}

std::optional<GraphRecord> GraphStore::Snapshot(int canvasId) {
  auto state = state_.Lock();
  const auto graph = state->Graphs.find(canvasId);
  if (graph == state->Graphs.end())
    return std::nullopt;
  return graph->second;
}

std::vector<GraphSample> GraphStore::Samples(int canvasId) {
  auto state = state_.Lock();
  const auto graph = state->Graphs.find(canvasId);
  if (graph == state->Graphs.end())
    return {};
  return graph->second.Samples;
}

}  // namespace tarvik
