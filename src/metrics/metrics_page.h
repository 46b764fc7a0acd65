#pragma once

#include <string>

#include "metrics/metrics_readings.h"
#include "metrics/rising_counters.h"

namespace tarvik {

// The content type of the page, as monitoring servers ask for it.
inline constexpr const char* kMetricsContentType = "text/plain; version=0.0.4; charset=utf-8";

// The page a monitoring server scrapes: every reading named by its conventions (a "tarvik_"
// prefix, base units, "_total" for counters), with labels for what there are several of. Its
// counters continue from the page built before, so one object serves every page, one at a time.
class MetricsPage {
 public:
  [[nodiscard]] std::string Build(const MetricsReadings& readings);

 private:
  RisingCounters counters_;
  size_t lastPageBytes_ = 0;  // the next page takes about as much room
};

}  // namespace tarvik
