#pragma once

#include "core/guarded.h"
#include "metrics/metrics_readings.h"
#include "monitors/gpu/gpu_readings.h"
#include "monitors/network/network_readings.h"
#include "monitors/ping/ping_list_state.h"
#include "monitors/storage/drive_record.h"
#include "monitors/system/system_readings.h"
#include "platform/own_process.h"

namespace tarvik {

// The monitors' latest readings, as each keeps them for the windows.
struct MetricsSources {
  Guarded<SystemReadings>& System;
  Guarded<DriveTable>& Drives;
  Guarded<NetworkReadings>& Network;
  SharedPingList& Ping;
  Guarded<GpuReadings>& Gpus;
};

// The one place where the monitors' records meet the metrics page: it copies what the page
// serves out of the monitors' readings. A record whose lock a monitor holds just then gives what
// it gave the time before, so a scrape never waits for a monitor; nothing here asks the system.
// One caller at a time.
class MetricsReadingsSource {
 public:
  explicit MetricsReadingsSource(MetricsSources sources) : sources_(sources) {}

  [[nodiscard]] MetricsReadings Assemble();

 private:
  MetricsSources sources_;
  MetricsReadings last_;
};

// The program's own process as the page serves it, from the two cheap readings alone (the
// figures' thread count walks the system's process list); none when either cannot be read.
[[nodiscard]] std::optional<OwnProcessReading> OwnProcessReadingOf(platform::OwnProcess& process);

}  // namespace tarvik
