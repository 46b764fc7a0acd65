#include "ui/gpu_graphs.h"

#include <algorithm>

#include "monitors/gpu/gpu_graph_values.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/graph_attributes.h"

namespace tarvik {
namespace {

constexpr int kGraphsPerCard = 10;
// Seven graphs under the card list: the six series, then the temperature.
constexpr int kColumnTop = 128;
constexpr int kGraphHeight = 54;
constexpr int kGraphPitch = 57;
constexpr int kColumnWidth = 567;
constexpr const wchar_t* kTitles[kGpuGraphsShown] = {L"GPU Utilization", L"Memory Utilization",
                                                     L"Fan Speed",       L"GPU Clock",
                                                     L"Memory Clock",    L"Power Usage"};

// The current value with its unit, and the percent graphed beside it for clocks and power.
std::wstring ValueText(int graph, const GpuDevice& device, int percent) {
  const GpuSample& sample = device.Sample;
  switch (graph) {
    case 3:
      return std::to_wstring(sample.Clocks[kGraphicsClock].Value) + L"MHz (" +
             std::to_wstring(percent) + L"%)";
    case 4:
      return std::to_wstring(sample.Clocks[kMemoryClock].Value) + L"MHz (" +
             std::to_wstring(percent) + L"%)";
    case 5:
      return std::to_wstring(sample.PowerMilliwatts.Value / 1000) + L"W (" +
             std::to_wstring(percent) + L"%)";
    default:
      return std::to_wstring(percent) + L"%";
  }
}

int FirstGraphOfSelected(const Settings& settings) {
  return settings.Get(opt::FirstGpuGraph) +
         kGraphsPerCard * std::max(settings.Get(opt::SelectedGpu), 0);
}

// Every card's graph records, whose ids follow the first one's option, as far as the settings
// reach.
template <typename Visit>
void ForEachGpuGraph(const Settings& settings, Visit&& visit) {
  const int first = settings.Get(opt::FirstGpuGraph);
  for (size_t card = 0; card < kMaxGpus; ++card) {
    for (int graph = 0; graph < kGpuGraphsShown; ++graph) {
      const int id = first + kGraphsPerCard * static_cast<int>(card) + graph;
      if (id < 0 || id >= Settings::kCount)
        return;
      visit(id);
    }
  }
}

platform::Rect GraphBounds(int slot) {
  return {4, kColumnTop + slot * kGraphPitch, kColumnWidth, kGraphHeight};
}

// The temperature graph shows the chosen card's history, one sample per entry, newest last, as
// many as the graph keeps, in the colours of the card's other graphs.
void TakeTemperatureHistory(GraphStore& graphs, const std::deque<GpuHistoryEntry>& history,
                            const std::optional<GraphRecord>& look) {
  static_cast<void>(graphs.Change(gadget::GpuTemperatureGraph, [&](GraphRecord& record) {
    const size_t kept = std::min(history.size(), static_cast<size_t>(std::max(record.Capacity, 0)));
    record.Samples.clear();
    for (auto entry = history.end() - static_cast<std::ptrdiff_t>(kept); entry != history.end();
         ++entry)
      record.Samples.push_back({entry->Date, static_cast<float>(entry->Temperature)});
    if (look) {
      record.Background = look->Background;
      record.OuterGrid = look->OuterGrid;
      record.InnerGrid = look->InnerGrid;
      record.Line = look->Line;
      record.Inverted = look->Inverted;
    }
  }));
}

}  // namespace

GraphTitles GpuGraphTitles(int graph, const std::optional<GpuDevice>& device) {
  GraphTitles titles{Tr(kTitles[graph]), L"", L""};
  if (!device || device->Sample.Utilization.Status != platform::nvml::kSuccess) {
    titles.Second = Tr(L"No Data");
    return titles;
  }
  titles.Second = ValueText(graph, *device, GpuGraphValues(*device)[static_cast<size_t>(graph)]);
  return titles;
}

GraphTitles GpuTemperatureTitles(const std::optional<GpuDevice>& device) {
  GraphTitles titles{Tr(L"GPU Temperature"), Tr(L"No Data"), L""};
  if (device && device->Sample.Temperature.Status == platform::nvml::kSuccess)
    titles.Second = std::to_wstring(device->Sample.Temperature.Value) + L"C";
  return titles;
}

void BuildGpuGraphColumn(platform::Gui& gui) {
  const platform::GadgetParent tab{gadget::MainWindow, gadget::MainPanel, gadget::GraphicsPanel};
  for (int graph = 0; graph < kGpuGraphsShown; ++graph)
    gui.CreateCanvas(gadget::FirstGpuGraphCanvas + graph, tab, GraphBounds(graph));
  gui.CreateCanvas(gadget::GpuTemperatureGraph, tab, GraphBounds(kGpuGraphsShown));
}

void PrepareGpuGraphs(const platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                      platform::FontId font) {
  const int width = gui.CanvasExtent(gadget::FirstGpuGraphCanvas).Width;
  graphs.Create(gadget::GpuTemperatureGraph, gui.CanvasExtent(gadget::GpuTemperatureGraph).Width);
  graphs.SetAttribute(gadget::GpuTemperatureGraph, graph_attr::Font, font);
  ForEachGpuGraph(settings, [&](int id) {
    graphs.Create(id, width);
    graphs.SetAttribute(id, graph_attr::Font, font);
    graphs.SetAttribute(id, graph_attr::LineColour, settings.Get(id));
  });
}

void FitGpuGraphsToColumn(const platform::Gui& gui, GraphStore& graphs, const Settings& settings) {
  const int width = gui.CanvasExtent(gadget::FirstGpuGraphCanvas).Width;
  ForEachGpuGraph(settings, [&](int id) {
    graphs.Change(id, [width](GraphRecord& record) { ResizeGraph(record, width); });
  });
}

void ShowGpuGraphs(platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                   const std::optional<GpuDevice>& device,
                   const std::deque<GpuHistoryEntry>& history) {
  const auto draw = [&gui](int canvas, const std::optional<GraphRecord>& record,
                           std::wstring_view unit, const GraphTitles& titles) {
    if (record)
      gui.DrawCanvas(canvas, [&](platform::Canvas& on) { DrawGraph(on, *record, unit, titles); });
  };
  const int first = FirstGraphOfSelected(settings);
  for (int graph = 0; graph < kGpuGraphsShown; ++graph) {
    draw(gadget::FirstGpuGraphCanvas + graph, graphs.Snapshot(first + graph), L"%",
         GpuGraphTitles(graph, device));
  }
  TakeTemperatureHistory(graphs, history, graphs.Snapshot(first));
  draw(gadget::GpuTemperatureGraph, graphs.Snapshot(gadget::GpuTemperatureGraph), L"C",
       GpuTemperatureTitles(device));
}

}  // namespace tarvik
