#include "app/network_wiring.h"

#include "monitors/network/adapter_filter.h"
#include "monitors/network/ip_locale_info.h"
#include "monitors/network/network_monitor.h"
#include "ui/gadget_ids.h"
#include "ui/graph_titles.h"
#include "ui/main_window.h"

namespace tarvik {

NetworkWiring::NetworkWiring(NetworkPorts ports)
    : ports_(ports),
      traffic_(gadget::AdapterList, ports.Updates),
      information_(gadget::AdapterDetailList, ports.Updates) {}

void NetworkWiring::Install(GadgetRoutes& routes, WindowUpdateApplier& applier) {
  for (ListModel* list : {&traffic_, &information_}) {
    applier.OnRefresh(list->Gadget(),
                      [this, list] { ports_.Gui.SetListRows(list->Gadget(), list->Rows()); });
  }
  for (const int graph : {gadget::NetworkSendGraph, gadget::NetworkReceiveGraph}) {
    applier.OnRefresh(graph, [this, graph] {
      if (NetworksTabShown())
        ShowGraph(graph);
    });
  }
  applier.OnRefresh(gadget::AdapterFilterSelector, [this] { FillAdapterFilter(); });
  routes.On(gadget::AdapterFilterSelector, platform::GadgetAction::Change,
            [this](const platform::GuiEvent&) {
              ChooseAdapter();
              return LoopControl::Continue;
            });
  // The mode is stored by the Settings tab's handler of the same selector; the traffic list
  // starts again in it at once.
  routes.On(gadget::NetworkUnitSelector, platform::GadgetAction::Change,
            [this](const platform::GuiEvent&) {
              traffic_.Change([](std::vector<std::wstring>& rows) { rows.clear(); });
              return LoopControl::Continue;
            });
}

void NetworkWiring::Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy) {
  WindowUpdateQueue& updates = ports_.Updates;
  EventLists& events = ports_.Logs.Events();
  platform::Http& http = ports_.Http;
  lookup_ = std::make_unique<AddressLookup>(
      // A lookup still running at shut-down ends at once.
      [&http, &stop, url = serviceBase_ + LocaleRequestPath()] {
        return http.Get(url, kLocaleLimits, [&stop] { return stop.Raised(); });
      },
      [&threads](std::function<void()> work) {
        return threads.StartTask(L"address lookup", std::move(work));
      });
  threads.StartMonitor(std::make_unique<NetworkMonitor>(
      stop,
      NetworkSources{
          .Network = ports_.Network, .Clock = ports_.Clock, .Env = ports_.Env, .Lookup = *lookup_},
      NetworkTargets{
          .Options = ports_.Options,
          .Meters = ports_.Meters,
          .Readings = readings_,
          .Titles = ports_.Titles,
          .AddNetworkEvent = [&events](const std::wstring& text) { events.AddNetworkEvent(text); },
          .AddTrafficRow =
              [this, &events](const std::wstring& row) { events.AddDatedLine(traffic_, row); },
          .ClearTraffic =
              [this] { traffic_.Change([](std::vector<std::wstring>& rows) { rows.clear(); }); },
          .ShowInformation =
              [this](const std::vector<std::wstring>& lines) {
                information_.Change([&lines](std::vector<std::wstring>& rows) { rows = lines; });
              },
          .MeterChanged = [this](int meter, bool force) { ports_.Mini.MeterChanged(meter, force); },
          .RefreshLayout = [&updates] { updates.Refresh(gadget::MiniWindow); },
          .AdaptersChanged = [&updates] { updates.Refresh(gadget::AdapterFilterSelector); },
          .AddGraphSample =
              [this](int graph, float value) {
                ports_.Graphs.AddSample(graph, value);
                ports_.Updates.Refresh(graph);
              },
          .RescaleGraph =
              [this](int graph, int64_t bytesPerSecond) {
                ports_.Graphs.RescaleRateGraph(
                    graph, bytesPerSecond, ports_.Options.Get(opt::ReportedDesktopScale) / 100.0);
              },
          .CopyPanel =
              [this, serveCopy = std::move(serveCopy)](int panel) {
                serveCopy(panel, [this](std::atomic<int>&) {
                  return NetworksPanelCopy(readings_.Snapshot(), ports_.NetworkEvents.Rows());
                });
              }}));
}

void NetworkWiring::ShowGraphs() {
  ShowGraph(gadget::NetworkSendGraph);
  ShowGraph(gadget::NetworkReceiveGraph);
}

void NetworkWiring::ShowGraph(int graph) {
  int64_t kb = 0;
  {
    auto readings = readings_.Lock();
    kb = graph == gadget::NetworkSendGraph ? readings->SentKbPerSecond
                                           : readings->ReceivedKbPerSecond;
  }
  ShowGraphOf(ports_.Gui, ports_.Graphs, graph, {std::to_wstring(kb) + L"KB/s", L""});
}

bool NetworkWiring::NetworksTabShown() const {
  return ports_.Gui.IsWindowVisible(gadget::MainWindow) &&
         ports_.Gui.SelectedPanelTab(gadget::MainPanel) == gadget::NetworksPanel;
}

// The filtered adapter keeps its item across enumerations: it is found again by its physical
// address. While it is away (gone, or idle) the first item shows and nothing is filtered, but the
// choice stays, to be followed again when the adapter is back.
void NetworkWiring::FillAdapterFilter() {
  const AdapterTable adapters = readings_.Lock()->Adapters;
  const AdapterFilter filter =
      BuildAdapterFilter(adapters, ports_.Texts.Get(slot::FilterNicToWrite));
  interfaceOfItem_ = filter.InterfaceOfItem;
  addressOfItem_ = filter.AddressOfItem;
  ports_.Gui.SetSelectorItems(gadget::AdapterFilterSelector, filter.Items);
  ports_.Gui.SelectItem(gadget::AdapterFilterSelector, filter.Selected);
  FollowItem(filter.Selected);
}

// The user's choice is kept (and saved with the settings) by the adapter's physical address.
void NetworkWiring::ChooseAdapter() {
  const int item = ports_.Gui.SelectedItem(gadget::AdapterFilterSelector);
  const bool known = item >= 0 && static_cast<size_t>(item) < addressOfItem_.size();
  ports_.Texts.Set(slot::FilterNicToWrite,
                   known ? addressOfItem_[static_cast<size_t>(item)] : std::wstring());
  FollowItem(item);
}

void NetworkWiring::FollowItem(int item) {
  const bool known = item >= 0 && static_cast<size_t>(item) < interfaceOfItem_.size();
  ports_.Options.Set(opt::AdapterFilterItem, std::max(item, 0));
  ports_.Options.Set(opt::FilteredInterface,
                     known ? static_cast<int32_t>(interfaceOfItem_[static_cast<size_t>(item)]) : 0);
}

}  // namespace tarvik
