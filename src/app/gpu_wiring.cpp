#include "app/gpu_wiring.h"

#include <algorithm>

#include "monitors/gpu/gpu_monitor.h"
#include "monitors/gpu/gpu_panel.h"
#include "monitors/gpu/nvml_start.h"
#include "ui/gadget_ids.h"
#include "ui/gpu_graphs.h"

namespace tarvik {

bool GpuWiring::LoadLibrary() {
  library_ = ports_.LoadNvml ? ports_.LoadNvml() : nullptr;
  system_ = library_ ? StartNvml(library_->Functions()) : std::nullopt;
  ports_.Options.Set(opt::NvmlPresent, system_ ? 1 : 0);
  return system_.has_value();
}

void GpuWiring::Install(GadgetRoutes& routes, WindowUpdateApplier& applier) {
  applier.OnRefresh(gadget::GpuDetailList, [this] {
    ShowDetails();
    FillSelector();
  });
  applier.OnRefresh(gadget::FirstGpuGraphCanvas, [this] { ShowGraphs(); });
  routes.On(gadget::GpuSelector, platform::GadgetAction::Change, [this](const platform::GuiEvent&) {
    FollowChosenCard();
    return LoopControl::Continue;
  });
  // The graphs on the canvases are the chosen card's; the temperature graph's record holds the
  // history it shows.
  for (int graph = 0; graph <= kGpuGraphsShown; ++graph) {
    const int canvas =
        graph < kGpuGraphsShown ? gadget::FirstGpuGraphCanvas + graph : gadget::GpuTemperatureGraph;
    routes.On(canvas, platform::GadgetAction::MouseMove,
              [this, graph](const platform::GuiEvent& event) {
                if (system_ && ports_.ShowReadout) {
                  ports_.ShowReadout(graph < kGpuGraphsShown
                                         ? ports_.Options.Get(opt::SelectedGpuGraph) + graph
                                         : gadget::GpuTemperatureGraph,
                                     event.Mouse.X);
                }
                return LoopControl::Continue;
              });
  }
  ShowDetails();
}

void GpuWiring::Start(MonitorThreads& threads, StopSignal& stop, platform::FontId graphFont,
                      PanelCopyServer serveCopy) {
  if (!system_)
    return;
  PrepareGpuGraphs(ports_.Gui, ports_.Graphs, ports_.Options, graphFont);
  WindowUpdateQueue& updates = ports_.Updates;
  EventLists& events = ports_.Logs.Events();
  ListModel& summaries = ports_.Summaries;
  GraphStore& graphs = ports_.Graphs;
  threads.StartMonitor(std::make_unique<GpuMonitor>(
      stop,
      GpuSources{.Nvml = library_->Functions(),
                 .System = *system_,
                 .Clock = ports_.Clock,
                 .Env = ports_.Env},
      GpuTargets{
          .Options = ports_.Options,
          .Meters = ports_.Meters,
          .Readings = readings_,
          .AddSummaryLine = [&events, &summaries](
                                const std::wstring& line) { events.AddDatedLine(summaries, line); },
          .RecordSystemEvent = [&events](const std::wstring& text) { events.AddSystemEvent(text); },
          .MeterChanged = [this](int meter, bool force) { ports_.Mini.MeterChanged(meter, force); },
          .RefreshLayout = [&updates] { updates.Refresh(gadget::MiniWindow); },
          .AddGraphSample = [&graphs](int graph, float value) { graphs.AddSample(graph, value); },
          .DevicesChanged = [&updates] { updates.Refresh(gadget::GpuDetailList); },
          .GraphsSampled = [&updates] { updates.Refresh(gadget::FirstGpuGraphCanvas); },
          .CopyPanel =
              [this, serveCopy = std::move(serveCopy)](int panel) {
                serveCopy(panel, [this](std::atomic<int>&) { return GraphicsTabCopy(); });
              }}));
}

void GpuWiring::ShowGraphs() {
  platform::Gui& gui = ports_.Gui;
  if (!system_ || !gui.IsWindowVisible(gadget::MainWindow) ||
      gui.SelectedPanelTab(gadget::MainPanel) != gadget::GraphicsPanel)
    return;
  // Copies, so that drawing holds no lock the monitor takes.
  std::optional<GpuDevice> device;
  std::deque<GpuHistoryEntry> history;
  {
    const auto readings = readings_.Lock();
    const auto card = static_cast<size_t>(std::max(ports_.Options.Get(opt::SelectedGpu), 0));
    if (card < readings->Cards.Devices.size())
      device = readings->Cards.Devices[card];
    if (card < readings->History.size())
      history = readings->History[card];
  }
  ShowGpuGraphs(gui, ports_.Graphs, ports_.Options, device, history);
}

// Built from a copy of the readings: no library call on the window thread.
void GpuWiring::ShowDetails() {
  const GpuReadings readings = readings_.Snapshot();
  ports_.Gui.SetListRows(
      gadget::GpuDetailList,
      system_ ? GpuDetailRows(*system_, readings.Cards, ports_.Options.IsOn(opt::GpuShowErrors),
                              ports_.Clock.NowLocal())
              : GpuRequirementRows());
}

void GpuWiring::FillSelector() {
  const GpuReadings readings = readings_.Snapshot();
  std::vector<std::wstring> items;
  const GpuDevices& devices = readings.Cards.Devices;
  for (size_t i = 0; i < devices.size(); ++i)
    items.push_back(L"[" + std::to_wstring(i) + L"] " + devices[i].Facts.Name.Value);
  ports_.Gui.SetSelectorItems(gadget::GpuSelector, items);
  if (items.empty())
    return;
  const int chosen = ports_.Options.Get(opt::SelectedGpu);
  ports_.Gui.SelectItem(gadget::GpuSelector,
                        chosen >= 0 && static_cast<size_t>(chosen) < items.size() ? chosen : 0);
  FollowChosenCard();
}

void GpuWiring::FollowChosenCard() {
  const int card = std::max(ports_.Gui.SelectedItem(gadget::GpuSelector), 0);
  ports_.Options.Set(opt::SelectedGpu, card);
  ports_.Options.Set(opt::SelectedGpuGraph,
                     ports_.Options.Get(opt::FirstGpuGraph) + GpuMonitor::kGraphsPerCard * card);
  ShowGraphs();
}

// The summaries, then the detail list, one line each.
std::wstring GpuWiring::GraphicsTabCopy() {
  std::wstring text;
  for (std::wstring row : ports_.Summaries.Rows()) {
    std::replace(row.begin(), row.end(), L'\n', L'\t');
    text += row + L"\r\n";
  }
  const GpuReadings readings = readings_.Snapshot();
  for (const std::wstring& row :
       GpuDetailRows(*system_, readings.Cards, ports_.Options.IsOn(opt::GpuShowErrors),
                     ports_.Clock.NowLocal())) {
    text += row + L"\r\n";
  }
  return text;
}

}  // namespace tarvik
