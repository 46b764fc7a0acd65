#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "app/gadget_routes.h"
#include "app/metrics_readings_source.h"
#include "core/settings.h"
#include "metrics/metrics_page.h"
#include "platform/gui.h"
#include "platform/page_server.h"
#include "settings/metrics_endpoint.h"

namespace tarvik {

struct MetricsPorts {
  platform::Gui& Gui;
  Settings& Options;
  MetricsSources Sources;
  std::function<void(const std::wstring& line)> Log;  // a line of the monthly log
};

// The metrics page's place in the program: the Settings tab's row, the listener that follows the
// option and its address at once, and the page built for each scrape from the monitors'
// readings. Off, nothing listens and no thread of it runs.
class MetricsWiring {
 public:
  explicit MetricsWiring(MetricsPorts ports) : ports_(std::move(ports)), source_(ports_.Sources) {}
  MetricsWiring(const MetricsWiring&) = delete;
  MetricsWiring& operator=(const MetricsWiring&) = delete;

  // The listener the program serves with; without one the option cannot take effect.
  void UseServer(platform::PageServer* server) { server_ = server; }
  void Install(GadgetRoutes& routes);
  // Window thread: starts, moves or stops the listener so that it follows the option and the
  // address, tells the outcome in the log, and shows the row.
  void Apply();
  // Shut-down: the listener closes before the monitors stop.
  void Stop();
  // One scrape's page; the listener's threads ask for it, one at a time.
  [[nodiscard]] platform::ServedPage Page();

 private:
  void Toggle();
  void Listen(const MetricsEndpoint& endpoint);
  void LogState(const MetricsEndpoint& endpoint);

  MetricsPorts ports_;
  platform::PageServer* server_ = nullptr;
  std::optional<MetricsEndpoint> listeningOn_;
  std::mutex pageMutex_;  // one page at a time: the page keeps its counters from page to page
  MetricsReadingsSource source_;
  MetricsPage page_;
};

}  // namespace tarvik
