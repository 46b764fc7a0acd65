#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/guarded.h"
#include "core/meter_table.h"
#include "core/monitor_thread.h"
#include "core/settings.h"
#include "core/title_board.h"
#include "monitors/network/adapter_enumeration.h"
#include "monitors/network/address_lookup.h"
#include "monitors/network/internet_state.h"
#include "monitors/network/locale_display.h"
#include "monitors/network/lookup_requests.h"
#include "monitors/network/network_readings.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/network.h"

namespace tarvik {

struct NetworkSources {
  platform::Network& Network;
  const platform::Clock& Clock;
  platform::Environment& Env;
  AddressLookup& Lookup;
};

// Where the network monitor's results go; each callable runs on the monitor's thread.
struct NetworkTargets {
  Settings& Options;
  // The adapters' items of the mini window (meters 49-80).
  MeterTable& Meters;
  Guarded<NetworkReadings>& Readings;
  TitleBoard& Titles;
  std::function<void(const std::wstring& text)> AddNetworkEvent;  // list 130 and the log
  std::function<void(const std::wstring& row)> AddTrafficRow;     // list 138
  std::function<void()> ClearTraffic;
  // The network information list (139), replaced as a whole.
  std::function<void(const std::vector<std::wstring>& lines)> ShowInformation;
  std::function<void(int meter, bool force)> MeterChanged;
  // Adapter items came or went: the mini window lays its cells out again.
  std::function<void()> RefreshLayout;
  // The adapters were enumerated: the adapter filter selector is rebuilt.
  std::function<void()> AdaptersChanged;
  std::function<void(int graph, float value)> AddGraphSample;
  std::function<void(int graph, int64_t bytesPerSecond)> RescaleGraph;
  // Serves the copy request of the Networks tab.
  std::function<void(int panel)> CopyPanel;
};

// The network monitor: a pass every 100 ms that samples the adapters' counters once a second
// (every pass with real-time network updates), tells reconnections, grown errors, status and
// link-speed changes and the Internet state as events, feeds the traffic list and graphs, and
// enumerates the adapters at its first pass, after 2 minutes, then every 10 minutes, and in
// between on F5 and whenever a reconnection or a new Internet state suggests that they changed
// (those come on top of the timetable and leave it as it is).
class NetworkMonitor : public MonitorThread {
 public:
  static constexpr const wchar_t* kName = L"network monitor";
  static constexpr int kPassMs = 100;
  static constexpr int kSamplePasses = 10;
  static constexpr int kFirstEnumerationPasses = 1200;
  static constexpr int kEnumerationPasses = 6000;

  NetworkMonitor(StopSignal& stop, NetworkSources sources, NetworkTargets targets);

  int Pass(int64_t tickMs) override;

 private:
  void Enumerate();
  void Sample(int64_t tickMs);
  void SampleAdapter(AdapterRecord& adapter, bool checkOncePerSecond, int trafficMode,
                     uint32_t filtered);
  void WatchInternet(int64_t tickMs);
  void ShowTotals();
  void StartLookup(int64_t tickMs);
  void TakeLookup();
  void ShowInformation();
  void ShowItems(bool placesMayChange);
  void AddEvents(const std::vector<std::wstring>& events);

  NetworkSources sources_;
  NetworkTargets targets_;
  AdapterEnumerator enumerator_;
  AdapterTable adapters_;
  std::vector<std::wstring> adapterLines_;
  LocaleDisplay locale_;
  LookupRequests lookups_;
  InternetWatch internet_;
  InternetQueries internetQueries_;
  bool enumerated_ = false;
  bool enumerationWanted_ = false;
  int sampleCountdown_ = 0;
  int enumCountdown_ = kFirstEnumerationPasses;
  int64_t lastSecond_ = -1;
  int64_t totalSent_ = 0;
  int64_t totalReceived_ = 0;
};

}  // namespace tarvik
