#include "ui/gpu_graphs.h"

#include <algorithm>

#include "monitors/gpu/gpu_graph_values.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/graph_attributes.h"

namespace tarvik {
namespace {

constexpr int kGraphsPerCard = 10;
constexpr int kColumnTop = 128;
constexpr int kGraphHeight = 64;
constexpr int kGraphPitch = 67;
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

void BuildGpuGraphColumn(platform::Gui& gui) {
  for (int graph = 0; graph < kGpuGraphsShown; ++graph) {
    gui.CreateCanvas(gadget::FirstGpuGraphCanvas + graph,
                     {gadget::MainWindow, gadget::MainPanel, gadget::GraphicsPanel},
                     {4, kColumnTop + graph * kGraphPitch, kColumnWidth, kGraphHeight});
  }
}

void PrepareGpuGraphs(const platform::Gui& gui, GraphStore& graphs, const Settings& settings,
                      platform::FontId font) {
  const int width = gui.CanvasExtent(gadget::FirstGpuGraphCanvas).Width;
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
                   const std::optional<GpuDevice>& device) {
  const int first = FirstGraphOfSelected(settings);
  for (int graph = 0; graph < kGpuGraphsShown; ++graph) {
    const std::optional<GraphRecord> record = graphs.Snapshot(first + graph);
    if (!record)
      continue;
    const GraphTitles titles = GpuGraphTitles(graph, device);
    gui.DrawCanvas(gadget::FirstGpuGraphCanvas + graph,
                   [&](platform::Canvas& canvas) { DrawGraph(canvas, *record, L"%", titles); });
  }
}

}  // namespace tarvik
