#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gadget_routes.h"
#include "app/program_logs.h"
#include "app/window_update_applier.h"
#include "core/guarded.h"
#include "core/list_model.h"
#include "core/meter_table.h"
#include "core/monitor_threads.h"
#include "core/panel_copy.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "core/title_board.h"
#include "core/window_updates.h"
#include "monitors/network/address_lookup.h"
#include "monitors/network/network_readings.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/gui.h"
#include "platform/http.h"
#include "platform/network.h"
#include "ui/history_graph.h"
#include "ui/mini_window.h"

namespace tarvik {

struct NetworkPorts {
  platform::Gui& Gui;
  platform::Network& Network;
  platform::Http& Http;
  const platform::Clock& Clock;
  platform::Environment& Env;
  Settings& Options;
  TextSlots& Texts;
  MeterTable& Meters;
  TitleBoard& Titles;
  WindowUpdateQueue& Updates;
  ProgramLogs& Logs;
  ListModel& NetworkEvents;  // list 130, kept across runs
  GraphStore& Graphs;
  MiniWindow& Mini;
};

// The service that tells the machine's external address and where it is.
inline constexpr const char* kLocaleServiceBase = "http://ip-api.com";
// The lookup gives up on a service it cannot reach within 4 s, and on any answer after 8 s. The
// service's answer takes well under 2 KiB; one longer than 8 KiB is not its answer.
inline constexpr platform::HttpLimits kLocaleLimits{
    .ConnectTimeoutMs = 4'000, .TotalTimeoutMs = 8'000, .MostBodyBytes = 8 * 1024};

// The network monitor's place in the program: its targets, the Networks tab's traffic and
// information lists, graphs, adapter filter and bytes/packets selectors, the tab's copy, and
// its start with the other monitors.
class NetworkWiring {
 public:
  explicit NetworkWiring(NetworkPorts ports);

  void Install(GadgetRoutes& routes, WindowUpdateApplier& applier);
  void Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy);
  // Draws the Networks tab's graphs with the latest rates (the tab has come into view).
  void ShowGraphs();
  // The monitor's latest results.
  [[nodiscard]] NetworkReadings Readings() { return readings_.Snapshot(); }
  [[nodiscard]] Guarded<NetworkReadings>& SharedReadings() { return readings_; }
  // Points the lookup at another service, for the tests that serve the answer locally; before
  // Start only.
  void UseLocaleService(std::string base) { serviceBase_ = std::move(base); }

 private:
  void FillAdapterFilter();
  void ChooseAdapter();
  void FollowItem(int item);
  void ShowGraph(int graph);
  [[nodiscard]] bool NetworksTabShown() const;

  NetworkPorts ports_;
  ListModel traffic_;
  ListModel information_;
  Guarded<NetworkReadings> readings_;
  std::string serviceBase_ = kLocaleServiceBase;
  std::unique_ptr<AddressLookup> lookup_;
  // The interface index behind each item of the filter selector, as last filled.
  std::vector<uint32_t> interfaceOfItem_;
  std::vector<std::wstring> addressOfItem_;
};

}  // namespace tarvik
