#include "metrics/metrics_page.h"

#include <functional>
#include <optional>
#include <vector>

#include "metrics/exposition_writer.h"

namespace tarvik {
namespace {

constexpr double kHertzPerMhz = 1e6;

double Ratio(int percent) {
  return percent / 100.0;
}

// A reading in base units: multiplied, then divided, so that 41 % reads 0.41 exactly as written.
template <typename T>
std::optional<double> Scaled(const std::optional<T>& reading, double times, double per) {
  if (!reading)
    return std::nullopt;
  return static_cast<double>(*reading) * times / per;
}

void WriteProcessors(ExpositionWriter& out, const MetricsReadings& readings) {
  std::vector<std::string> labels;
  for (size_t processor = 0; processor < readings.Processors.size(); ++processor)
    labels.push_back(LabelSet({{"processor", std::to_wstring(processor)}}));
  out.Family("tarvik_processor_load_ratio",
             "Load of each logical processor over the last sampling period (0 to 1).",
             MetricKind::Gauge);
  for (size_t processor = 0; processor < labels.size(); ++processor)
    out.Sample(labels[processor], Ratio(readings.Processors[processor].LoadPercent));
  out.Family("tarvik_processor_load_average_ratio",
             "Average load of all logical processors (0 to 1).", MetricKind::Gauge);
  if (readings.AverageLoadPercent)
    out.Sample({}, Ratio(*readings.AverageLoadPercent));
  out.Family("tarvik_processor_frequency_hertz", "Current clock of each logical processor.",
             MetricKind::Gauge);
  for (size_t processor = 0; processor < labels.size(); ++processor) {
    out.Sample(labels[processor],
               static_cast<double>(readings.Processors[processor].CurrentMhz) * kHertzPerMhz);
  }
  out.Family("tarvik_processor_max_frequency_hertz", "Highest clock of the processors.",
             MetricKind::Gauge);
  if (readings.HighestMhz > 0)
    out.Sample({}, static_cast<double>(readings.HighestMhz) * kHertzPerMhz);
}

void WriteMemoryAndPower(ExpositionWriter& out, const MetricsReadings& readings) {
  if (readings.Memory) {
    const MemoryMetrics& memory = *readings.Memory;
    const struct {
      const char* Name;
      const char* Help;
      int64_t Value;
    } figures[] = {
        {"tarvik_memory_physical_total_bytes", "Physical memory in all.", memory.PhysicalTotal},
        {"tarvik_memory_physical_available_bytes", "Physical memory available.",
         memory.PhysicalAvailable},
        {"tarvik_memory_page_file_total_bytes", "Page file (commit limit) in all.",
         memory.PageFileTotal},
        {"tarvik_memory_page_file_available_bytes", "Page file (commit limit) available.",
         memory.PageFileAvailable},
    };
    for (const auto& figure : figures) {
      out.Family(figure.Name, figure.Help, MetricKind::Gauge);
      out.Sample({}, figure.Value);
    }
  }
  out.Family("tarvik_battery_charge_ratio", "Battery charge (0 to 1); absent without a battery.",
             MetricKind::Gauge);
  if (readings.BatteryPercent)
    out.Sample({}, Ratio(*readings.BatteryPercent));
  out.Family("tarvik_power_on_mains", "1 while the machine runs on mains power, 0 on battery.",
             MetricKind::Gauge);
  if (readings.OnMains)
    out.Sample({}, int64_t{*readings.OnMains ? 1 : 0});
  out.Family("tarvik_system_uptime_seconds", "Time since the system started.", MetricKind::Gauge);
  if (readings.SystemUptimeSeconds)
    out.Sample({}, *readings.SystemUptimeSeconds);
}

void WriteDrives(ExpositionWriter& out, const std::vector<DriveMetrics>& drives) {
  std::vector<std::string> labels;
  for (const DriveMetrics& drive : drives) {
    labels.push_back(LabelSet({{"drive", drive.Name},
                               {"label", drive.Label},
                               {"serial", drive.Serial},
                               {"type", drive.Type}}));
  }
  const auto each = [&](const std::function<int64_t(const DriveMetrics&)>& value) {
    for (size_t index = 0; index < drives.size(); ++index) {
      if (drives[index].Present)
        out.Sample(labels[index], value(drives[index]));
    }
  };
  out.Family("tarvik_drive_size_bytes", "Size of each drive's volume.", MetricKind::Gauge);
  each([](const DriveMetrics& drive) { return drive.SizeBytes; });
  out.Family("tarvik_drive_free_bytes",
             "Free space on each drive's volume, as the user may use it.", MetricKind::Gauge);
  each([](const DriveMetrics& drive) { return drive.FreeBytes; });

  out.Family("tarvik_drive_events_total",
             "Drive events since the program started: found, lost, relabelled, media changed.",
             MetricKind::Counter);
  for (const DriveMetrics& drive : drives) {
    const std::pair<const wchar_t*, int64_t> events[] = {
        {L"found", drive.Events.Found},
        {L"lost", drive.Events.Lost},
        {L"relabelled", drive.Events.Relabelled},
        {L"media_changed", drive.Events.MediaChanged}};
    for (const auto& [event, count] : events)
      out.Sample(LabelSet({{"drive", drive.Name}, {"event", event}}), count);
  }
}

void WriteAdapters(ExpositionWriter& out, const MetricsReadings& readings) {
  const std::vector<AdapterMetrics>& adapters = readings.Adapters;
  std::vector<std::string> labels;
  for (const AdapterMetrics& adapter : adapters)
    labels.push_back(LabelSet({{"adapter", adapter.Name}, {"mac", adapter.MacAddress}}));
  const struct {
    const char* Name;
    const char* Help;
    int64_t AdapterMetrics::*Count;
  } counters[] = {
      {"tarvik_network_receive_bytes_total", "Bytes each adapter received.",
       &AdapterMetrics::BytesReceived},
      {"tarvik_network_transmit_bytes_total", "Bytes each adapter sent.",
       &AdapterMetrics::BytesSent},
      {"tarvik_network_receive_packets_total", "Packets each adapter received.",
       &AdapterMetrics::PacketsReceived},
      {"tarvik_network_transmit_packets_total", "Packets each adapter sent.",
       &AdapterMetrics::PacketsSent},
      {"tarvik_network_receive_errors_total", "Receive errors of each adapter.",
       &AdapterMetrics::ErrorsReceived},
      {"tarvik_network_transmit_errors_total", "Send errors of each adapter.",
       &AdapterMetrics::ErrorsSent},
  };
  for (const auto& counter : counters) {
    out.Family(counter.Name, counter.Help, MetricKind::Counter);
    for (size_t index = 0; index < adapters.size(); ++index)
      out.Sample(labels[index], adapters[index].*counter.Count);
  }
  out.Family("tarvik_network_link_speed_bytes_per_second",
             "Link speed of each adapter, by direction.", MetricKind::Gauge);
  for (const AdapterMetrics& adapter : adapters) {
    const std::pair<const wchar_t*, int64_t> speeds[] = {
        {L"receive", adapter.ReceiveLinkBitsPerSecond},
        {L"transmit", adapter.TransmitLinkBitsPerSecond}};
    for (const auto& [direction, bits] : speeds) {
      out.Sample(
          LabelSet(
              {{"adapter", adapter.Name}, {"mac", adapter.MacAddress}, {"direction", direction}}),
          bits / 8);
    }
  }
  out.Family("tarvik_network_up", "1 while an adapter is up.", MetricKind::Gauge);
  for (size_t index = 0; index < adapters.size(); ++index)
    out.Sample(labels[index], int64_t{adapters[index].Up ? 1 : 0});
  out.Family("tarvik_internet_connected", "1 while the system reports an Internet connection.",
             MetricKind::Gauge);
  if (readings.InternetConnected)
    out.Sample({}, int64_t{*readings.InternetConnected ? 1 : 0});
}

void WritePingHosts(ExpositionWriter& out, const std::vector<PingHostMetrics>& hosts) {
  std::vector<std::string> labels;
  for (const PingHostMetrics& host : hosts)
    labels.push_back(LabelSet({{"host", host.Address}, {"description", host.Description}}));
  out.Family("tarvik_ping_rtt_seconds", "Round-trip time of each host's last echo.",
             MetricKind::Gauge);
  for (size_t index = 0; index < hosts.size(); ++index) {
    if (hosts[index].RoundTripMs)
      out.Sample(labels[index], *hosts[index].RoundTripMs / 1000.0);
  }
  out.Family("tarvik_ping_sent_total", "Echoes sent to each host.", MetricKind::Counter);
  for (size_t index = 0; index < hosts.size(); ++index)
    out.Sample(labels[index], hosts[index].Sent);
  out.Family("tarvik_ping_lost_total", "Echoes to each host that got no reply.",
             MetricKind::Counter);
  for (size_t index = 0; index < hosts.size(); ++index)
    out.Sample(labels[index], hosts[index].Lost);
  out.Family("tarvik_ping_paused", "1 while the user paused a host.", MetricKind::Gauge);
  for (size_t index = 0; index < hosts.size(); ++index)
    out.Sample(labels[index], int64_t{hosts[index].Paused ? 1 : 0});
}

void WriteGpus(ExpositionWriter& out, const std::vector<GpuMetrics>& gpus) {
  std::vector<std::string> labels;
  for (const GpuMetrics& gpu : gpus)
    labels.push_back(LabelSet({{"gpu", std::to_wstring(gpu.Index)}, {"name", gpu.Name}}));
  const auto each = [&](const char* name, const char* help,
                        const std::function<std::optional<double>(const GpuMetrics&)>& value) {
    out.Family(name, help, MetricKind::Gauge);
    for (size_t index = 0; index < gpus.size(); ++index) {
      if (const std::optional<double> read = value(gpus[index]))
        out.Sample(labels[index], *read);
    }
  };
  each("tarvik_gpu_temperature_celsius", "Temperature of each card.",
       [](const GpuMetrics& gpu) { return Scaled(gpu.TemperatureCelsius, 1, 1); });
  each("tarvik_gpu_load_ratio", "Load of each card (0 to 1).",
       [](const GpuMetrics& gpu) { return Scaled(gpu.LoadPercent, 1, 100); });
  each("tarvik_gpu_memory_used_bytes", "Memory used on each card.",
       [](const GpuMetrics& gpu) { return Scaled(gpu.MemoryUsedBytes, 1, 1); });
  each("tarvik_gpu_memory_total_bytes", "Memory on each card in all.",
       [](const GpuMetrics& gpu) { return Scaled(gpu.MemoryTotalBytes, 1, 1); });
  each("tarvik_gpu_clock_hertz", "Graphics clock of each card.",
       [](const GpuMetrics& gpu) { return Scaled(gpu.ClockMhz, kHertzPerMhz, 1); });
  each("tarvik_gpu_power_watts", "Power drawn by each card.",
       [](const GpuMetrics& gpu) { return Scaled(gpu.PowerMilliwatts, 1, 1000); });
  each("tarvik_gpu_fan_ratio", "Fan speed of each card (0 to 1 of its highest).",
       [](const GpuMetrics& gpu) { return Scaled(gpu.FanPercent, 1, 100); });
  each("tarvik_gpu_performance_state", "Performance state of each card (0 fastest, 15 slowest).",
       [](const GpuMetrics& gpu) { return Scaled(gpu.PerformanceState, 1, 1); });
}

void WriteProgram(ExpositionWriter& out, const MetricsReadings& readings) {
  if (readings.Process) {
    const ProcessMetrics& process = *readings.Process;
    out.Family("process_cpu_seconds_total", "Processor time the program used, user and system.",
               MetricKind::Counter);
    out.Sample({}, process.CpuSeconds);
    out.Family("process_resident_memory_bytes", "The program's working set.", MetricKind::Gauge);
    out.Sample({}, process.ResidentBytes);
    out.Family("process_start_time_seconds", "When the program started, in seconds since 1970.",
               MetricKind::Gauge);
    out.Sample({}, process.StartTimeUnixSeconds);
    out.Family("tarvik_uptime_seconds", "Time since the program started.", MetricKind::Gauge);
    out.Sample({}, process.UptimeSeconds);
  }
  out.Family("tarvik_build_info", "The program's version, as a label.", MetricKind::Gauge);
  out.Sample(LabelSet({{"version", readings.Version}}), int64_t{1});
}

}  // namespace

std::string MetricsPage::Build(const MetricsReadings& readings) {
  counters_.BeginPage();
  ExpositionWriter out(counters_, lastPageBytes_ + lastPageBytes_ / 8);
  WriteProcessors(out, readings);
  WriteMemoryAndPower(out, readings);
  WriteDrives(out, readings.Drives);
  WriteAdapters(out, readings);
  WritePingHosts(out, readings.PingHosts);
  WriteGpus(out, readings.Gpus);
  WriteProgram(out, readings);
  counters_.EndPage();
  std::string page = out.Take();
  lastPageBytes_ = page.size();
  return page;
}

}  // namespace tarvik
