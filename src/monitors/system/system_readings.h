#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvik {

// One logical processor as its graph shows it.
struct ProcessorEntry {
  std::wstring Label;  // "CPU 05", at most kLabelCharacters
  int64_t CurrentMhz = 0;
  int LoadPercent = 0;

  static constexpr size_t kLabelCharacters = 10;
};

// Memory in bytes, as the sampler last read it.
struct MemoryBytes {
  int64_t PhysicalTotal = 0;
  int64_t PhysicalAvailable = 0;
  int64_t PageFileTotal = 0;
  int64_t PageFileAvailable = 0;
};

// The program's own process as the metrics page serves it.
struct OwnProcessReading {
  double CpuSeconds = 0;  // user and kernel time of all its threads
  int64_t WorkingSetBytes = 0;
  int64_t StartTimeUnixSeconds = 0;  // UTC
  int64_t UptimeSeconds = 0;
};

// The system sampler's latest readings that the windows show beside its cells: the graphs'
// current values, and the figures behind the cells for the metrics page. The sampler writes each
// part at the end of the block that produced it; the window thread draws from a copy.
struct SystemReadings {
  int PhysicalPercent = 0;  // available
  int PageFilePercent = 0;  // available
  int64_t MeanMhz = 0;
  int SpeedPercent = 0;  // of the highest speed
  int AverageLoad = 0;
  std::vector<ProcessorEntry> Processors;
  int64_t ReadKbPerSecond = 0;
  int64_t WriteKbPerSecond = 0;
  int64_t HighestMhz = 0;
  std::optional<MemoryBytes> Memory;
  std::optional<int> BatteryPercent;  // none without a battery or a known charge
  std::optional<bool> OnMains;        // none while the system does not know
  std::optional<int64_t> UptimeSeconds;
  // The program's own figures, read once a second only while the metrics page is served.
  std::optional<OwnProcessReading> OwnProcess;
};

// A processor's label: "CPU", a blank and its index padded with "0" to the digits of the count
// (with 16 processors, processor 5 reads "CPU 05").
[[nodiscard]] std::wstring ProcessorLabel(int processor, int processorCount);

}  // namespace tarvik
