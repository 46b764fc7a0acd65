#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvik {

// What the metrics page serves, in the units the windows show it (percent, MHz, ms, mW): one
// plain record, copied from the monitors' latest readings, so the page never reads a monitor.

struct ProcessorMetrics {
  int LoadPercent = 0;
  int64_t CurrentMhz = 0;
};

struct MemoryMetrics {
  int64_t PhysicalTotal = 0;
  int64_t PhysicalAvailable = 0;
  int64_t PageFileTotal = 0;
  int64_t PageFileAvailable = 0;
};

// How often each kind of drive event happened to a letter since the program started.
struct DriveEventCounts {
  int64_t Found = 0;
  int64_t Lost = 0;
  int64_t Relabelled = 0;
  int64_t MediaChanged = 0;
};

struct DriveMetrics {
  std::wstring Name;     // "C:"
  std::wstring Label;    // the volume's name
  std::wstring Serial;   // "1A2B-3C4D"
  std::wstring Type;     // "fixed", "removable", ...
  bool Present = false;  // a lost drive still carries its event counts
  int64_t SizeBytes = 0;
  int64_t FreeBytes = 0;
  DriveEventCounts Events;
};

struct AdapterMetrics {
  std::wstring Name;        // the adapter's description
  std::wstring MacAddress;  // "00:1A:2B:3C:4D:5E", empty when it has none
  int64_t BytesReceived = 0;
  int64_t BytesSent = 0;
  int64_t PacketsReceived = 0;
  int64_t PacketsSent = 0;
  int64_t ErrorsReceived = 0;
  int64_t ErrorsSent = 0;
  int64_t ReceiveLinkBitsPerSecond = 0;
  int64_t TransmitLinkBitsPerSecond = 0;
  bool Up = false;
};

struct PingHostMetrics {
  std::wstring Address;            // dotted decimal
  std::wstring Description;        // what the user wrote beside it
  std::optional<int> RoundTripMs;  // none while the last echo failed or none was sent
  int64_t Sent = 0;
  int64_t Lost = 0;
  bool Paused = false;
};

// A graphics card's latest sample; a value its library could not read is left out.
struct GpuMetrics {
  int Index = 0;
  std::wstring Name;
  std::optional<int> TemperatureCelsius;
  std::optional<int> LoadPercent;
  std::optional<int64_t> MemoryUsedBytes;
  std::optional<int64_t> MemoryTotalBytes;
  std::optional<int64_t> ClockMhz;
  std::optional<int64_t> PowerMilliwatts;
  std::optional<int> FanPercent;
  std::optional<int> PerformanceState;
};

// The program's own figures as the system sampler last read them.
struct ProcessMetrics {
  double CpuSeconds = 0;
  int64_t ResidentBytes = 0;
  int64_t StartTimeUnixSeconds = 0;
  int64_t UptimeSeconds = 0;
};

struct MetricsReadings {
  std::vector<ProcessorMetrics> Processors;  // by logical processor
  std::optional<int> AverageLoadPercent;
  int64_t HighestMhz = 0;
  std::optional<MemoryMetrics> Memory;
  std::optional<int> BatteryPercent;
  std::optional<bool> OnMains;
  std::optional<int64_t> SystemUptimeSeconds;
  std::vector<DriveMetrics> Drives;
  std::vector<AdapterMetrics> Adapters;
  std::optional<bool> InternetConnected;
  std::vector<PingHostMetrics> PingHosts;
  std::vector<GpuMetrics> Gpus;
  std::optional<ProcessMetrics> Process;
  std::wstring Version;
};

}  // namespace tarvik
