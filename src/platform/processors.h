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

// How many processes, threads and handles the whole system has.
struct ProcessCounts {
  int64_t Processes = 0;
  int64_t Threads = 0;
  int64_t Handles = 0;
};

// One reading of the time-stamp counter (its low 32 bits) with the initial APIC id of the
// processor that answered, so that two readings can be told to come from the same processor.
struct TimestampReading {
  uint32_t ApicId = 0;
  uint32_t Ticks = 0;
};

class Processors {
 public:
  virtual ~Processors() = default;
  // Every logical processor's times since the system started.
  [[nodiscard]] virtual std::optional<std::vector<ProcessorTime>> Times() = 0;
  // Every logical processor's idle time from the system's separate idle accounting, which stays
  // right where the idle time of Times() is known to be wrong; nothing where the system lacks it.
  [[nodiscard]] virtual std::optional<std::vector<uint64_t>> IdleTimes() = 0;
  // The power information of `count` processors; nothing without the power library.
  [[nodiscard]] virtual std::optional<std::vector<ProcessorPower>> Power(int count) = 0;
  // The dynamic-throttle policy of the active power scheme on AC power; nothing without it.
  [[nodiscard]] virtual std::optional<int> ThrottlePolicy() = 0;
  // Totals over the system's process list.
  [[nodiscard]] virtual std::optional<ProcessCounts> Counts() = 0;
  [[nodiscard]] virtual TimestampReading ReadTimestamp() = 0;
};

}  // namespace tarvik::platform
