#pragma once

#include <cstdint>
#include <optional>

namespace tarvik::platform {

// The processor time the program's own process has used, in 100 ns units, how long it has run,
// in milliseconds, and when it started, in seconds since 1970-01-01 UTC.
struct OwnProcessorTime {
  uint64_t CpuTime = 0;
  int64_t AgeMs = 0;
  int64_t StartUnixSeconds = 0;
};

// What the program's own process holds of the machine as the system counts it.
struct OwnProcessFigures {
  uint64_t PrivateBytes = 0;
  uint64_t WorkingSetBytes = 0;
  uint32_t Threads = 0;
  uint32_t Handles = 0;
  uint32_t GdiObjects = 0;
};

// The program's view of its own cost. Any thread may ask.
class OwnProcess {
 public:
  virtual ~OwnProcess() = default;
  // Cheap: read on every pass of the cost monitor.
  [[nodiscard]] virtual std::optional<OwnProcessorTime> ProcessorTime() = 0;
  // Cheap too: the process's own memory query alone, the working set of the figures below.
  [[nodiscard]] virtual std::optional<uint64_t> WorkingSetBytes() = 0;
  // Counting the threads walks the system's thread list, so these are read only while shown.
  [[nodiscard]] virtual std::optional<OwnProcessFigures> Figures() = 0;
};

}  // namespace tarvik::platform
