#include "monitors/network/network_monitor.h"

#include <algorithm>

#include "monitors/network/adapter_sample.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kNetworkPriority = 22;
constexpr int kNetworksTabCopy = 4;
constexpr int kNetworkTitleMode = 8;
constexpr int kSendGraph = 305;
constexpr int kReceiveGraph = 306;
constexpr int kSecondsPerMinute = 60;

}  // namespace

NetworkMonitor::NetworkMonitor(StopSignal& stop, NetworkSources sources, NetworkTargets targets)
    : MonitorThread(kName, kNetworkPriority, stop, sources.Clock, sources.Env),
      sources_(sources),
      targets_(std::move(targets)),
      enumerator_(sources_.Network) {}

int NetworkMonitor::Pass(int64_t tickMs) {
  Settings& options = targets_.Options;
  if (!enumerated_)
    Enumerate();
  if (options.Take(opt::NetworkResetRequest) != 0)
    targets_.ClearTraffic();
  if (options.Take(opt::NetworkRefreshRequest) != 0) {
    lookups_.ByUser();
    enumerationWanted_ = true;
  }
  if (sampleCountdown_ < 1 || options.IsOn(opt::RealTimeNetwork)) {
    Sample(tickMs);
    sampleCountdown_ = kSamplePasses;
  }
  const bool timetableDue = --enumCountdown_ < 1;
  if ((timetableDue || enumerationWanted_) && !options.IsOn(opt::StopFlag)) {
    Enumerate();
    if (timetableDue)
      enumCountdown_ = kEnumerationPasses;
  }
  StartLookup(tickMs);
  TakeLookup();
  if (options.Get(opt::CopyRequest) == kNetworksTabCopy)
    targets_.CopyPanel(kNetworksTabCopy);
  --sampleCountdown_;
  return kPassMs;
}

// The adapter table is built again. A changed address or count of connections asks for a lookup
// and for the Internet state.
void NetworkMonitor::Enumerate() {
  Enumeration result = enumerator_.Enumerate(sources_.Clock.NowLocal());
  adapters_ = std::move(result.Adapters);
  adapterLines_ = std::move(result.InfoLines);
  enumerated_ = true;
  enumerationWanted_ = false;
  AddEvents(result.Events);
  if (!result.Events.empty())
    internetQueries_.SomethingChanged();
  if (enumerator_.TakeLookupRequest())
    lookups_.Automatic();
  ShowInformation();
  ShowItems(true);
  targets_.AdaptersChanged();
}

void NetworkMonitor::Sample(int64_t tickMs) {
  const int64_t second = sources_.Clock.NowLocal() % kSecondsPerMinute;
  const bool checkOncePerSecond = second != lastSecond_;
  lastSecond_ = second;
  const int trafficMode = targets_.Options.Get(opt::NetworkInPackets);
  const auto filtered = static_cast<uint32_t>(targets_.Options.Get(opt::FilteredInterface));
  if (sources_.Network.Available()) {
    for (AdapterRecord& adapter : adapters_) {
      if (adapter.Monitored)
        SampleAdapter(adapter, checkOncePerSecond, trafficMode, filtered);
    }
  }
  ShowItems(false);
  WatchInternet(tickMs);
  ShowTotals();
}

// A row that now belongs to another adapter (its description differs) changes nothing.
void NetworkMonitor::SampleAdapter(AdapterRecord& adapter, bool checkOncePerSecond, int trafficMode,
                                   uint32_t filtered) {
  std::optional<platform::InterfaceRow> row = sources_.Network.Interface(adapter.IfIndex);
  if (!row || row->Description != adapter.Info.Description)
    return;
  const CounterChange change = TakeCounters(adapter, std::move(*row), checkOncePerSecond);
  AddEvents(change.Events);
  if (change.Reconnected)
    enumerationWanted_ = true;
  if (change.Reconnected || change.ConnectionChanged)
    internetQueries_.SomethingChanged();
  if (filtered == 0 || filtered == adapter.IfIndex) {
    if (const std::optional<std::wstring> traffic = TrafficRow(adapter, trafficMode))
      targets_.AddTrafficRow(*traffic);
  }
  // A counter that fell started again from 0: what it counted since is the new value, not a
  // negative rate.
  totalSent_ += adapter.BytesSentDelta < 0 ? adapter.BytesSent : adapter.BytesSentDelta;
  totalReceived_ += adapter.BytesRecvDelta < 0 ? adapter.BytesRecv : adapter.BytesRecvDelta;
}

void NetworkMonitor::WatchInternet(int64_t tickMs) {
  if (sources_.Network.TakeChangeNotice())
    internetQueries_.SomethingChanged();
  if (!internetQueries_.Due(tickMs))
    return;
  internetQueries_.Asked(tickMs);
  const std::optional<std::wstring> event = internet_.Take(sources_.Network.InternetFlags());
  if (!event)
    return;
  targets_.AddNetworkEvent(*event);
  enumerationWanted_ = true;
  auto readings = targets_.Readings.Lock();
  readings->InternetText = internet_.Text();
  readings->InternetFlags = internet_.Flags();
}

void NetworkMonitor::ShowTotals() {
  const int64_t sentKb = totalSent_ / 1024;
  const int64_t receivedKb = totalReceived_ / 1024;
  targets_.RescaleGraph(kSendGraph, totalSent_);
  targets_.RescaleGraph(kReceiveGraph, totalReceived_);
  {
    auto readings = targets_.Readings.Lock();
    readings->SentKbPerSecond = sentKb;
    readings->ReceivedKbPerSecond = receivedKb;
    readings->Adapters = adapters_;
  }
  targets_.AddGraphSample(kSendGraph, static_cast<float>(sentKb));
  targets_.AddGraphSample(kReceiveGraph, static_cast<float>(receivedKb));
  targets_.Titles.Publish(kNetworkTitleMode, Tr(L"Network") + L": " + std::to_wstring(sentKb) +
                                                 L"K/" + std::to_wstring(receivedKb) + L"K");
  totalSent_ = 0;
  totalReceived_ = 0;
}

// A request waits while a lookup runs, and the monitor's own requests wait for their spacing.
void NetworkMonitor::StartLookup(int64_t tickMs) {
  if (lookups_.Due(tickMs) && sources_.Lookup.Start())
    lookups_.Started(tickMs);
}

void NetworkMonitor::TakeLookup() {
  const std::optional<AddressLookup::Outcome> outcome = sources_.Lookup.TakeFinished();
  if (!outcome)
    return;
  if (const std::optional<std::wstring> event = locale_.Take(*outcome, sources_.Clock.NowLocal()))
    targets_.AddNetworkEvent(*event);
  ShowInformation();
}

// The lookup's block stands above the adapters' blocks.
void NetworkMonitor::ShowInformation() {
  std::vector<std::wstring> lines = locale_.Lines();
  lines.insert(lines.end(), adapterLines_.begin(), adapterLines_.end());
  targets_.ShowInformation(lines);
  auto readings = targets_.Readings.Lock();
  readings->Adapters = adapters_;
  readings->Information = std::move(lines);
}

// Items 49-80 show the monitored adapters; only an item whose text changed is drawn again,
// unless items came or went, when the mini window lays its cells out anew.
void NetworkMonitor::ShowItems(bool placesMayChange) {
  bool placesChanged = false;
  {
    auto meters = targets_.Meters.Lock();
    if (placesMayChange) {
      for (int item = kFirstAdapterItem; item <= kLastAdapterItem; ++item) {
        MeterRecord& meter = (*meters)[static_cast<size_t>(item)];
        const bool shown =
            std::any_of(adapters_.begin(), adapters_.end(),
                        [item](const AdapterRecord& a) { return a.PanelItem == item; });
        placesChanged = placesChanged || meter.Active != shown;
        meter.Active = shown;
        if (!shown)
          meter.Text.clear();
      }
    }
    for (const AdapterRecord& adapter : adapters_) {
      if (adapter.PanelItem == 0)
        continue;
      MeterRecord& meter = (*meters)[static_cast<size_t>(adapter.PanelItem)];
      meter.Text = AdapterItemText(adapter);
      meter.BackColour = AdapterItemColour(adapter);
    }
  }
  if (placesChanged) {
    targets_.RefreshLayout();
    return;
  }
  for (const AdapterRecord& adapter : adapters_) {
    if (adapter.PanelItem != 0)
      targets_.MeterChanged(adapter.PanelItem, false);
  }
}

void NetworkMonitor::AddEvents(const std::vector<std::wstring>& events) {
  for (const std::wstring& event : events)
    targets_.AddNetworkEvent(event);
}

}  // namespace tarvik
