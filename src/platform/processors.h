#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvik::platform {

// One logical processor's accumulated times, in 100 ns units, as Windows reports them: the
// kernel time includes the idle time.
struct ProcessorTime {
  uint64_t Idle = 0;
  uint64_t Kernel = 0;
  uint64_t User = 0;
};

// One logical processor's power information.
struct ProcessorPower {
  uint32_t MaxMhz = 0;
  uint32_t CurrentMhz = 0;
  uint32_t MhzLimit = 0;
  uint32_t MaxIdleState = 0;
  uint32_t CurrentIdleState = 0;
};

class Processors {
 public:
  virtual ~Processors() = default;
  // Every logical processor's times since the system started.
  [[nodiscard]] virtual std::optional<std::vector<ProcessorTime>> Times() = 0;
  // The power information of `count` processors; nothing without the power library.
  [[nodiscard]] virtual std::optional<std::vector<ProcessorPower>> Power(int count) = 0;
};

}  // namespace tarvik::platform
