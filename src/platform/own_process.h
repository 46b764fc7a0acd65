#pragma once

#include <cstdint>
#include <optional>

namespace tarvik::platform {

// The program's own process as the system counts it.
struct ProcessFigures {
  double CpuSeconds = 0;  // user and kernel time of all its threads
  int64_t WorkingSetBytes = 0;
  int64_t StartTimeUnixSeconds = 0;  // UTC
  int64_t UptimeSeconds = 0;
};

class OwnProcess {
 public:
  virtual ~OwnProcess() = default;
  [[nodiscard]] virtual std::optional<ProcessFigures> Figures() = 0;
};

}  // namespace tarvik::platform
