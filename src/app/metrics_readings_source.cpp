#include "app/metrics_readings_source.h"

#include "core/version.h"
#include "monitors/gpu/gpu_device.h"
#include "monitors/network/internet_state.h"
#include "monitors/system/text_shapes.h"

namespace tarvik {
namespace {

constexpr uint32_t kOperStatusUp = 1;

void TakeSystem(const SystemReadings& system, MetricsReadings& readings) {
  readings.Processors.clear();
  for (const ProcessorEntry& processor : system.Processors)
    readings.Processors.push_back({processor.LoadPercent, processor.CurrentMhz});
  readings.AverageLoadPercent =
      system.Processors.empty() ? std::nullopt : std::optional<int>(system.AverageLoad);
  readings.HighestMhz = system.HighestMhz;
  readings.Memory.reset();
  if (system.Memory) {
    const MemoryBytes& memory = *system.Memory;
    readings.Memory = MemoryMetrics{memory.PhysicalTotal, memory.PhysicalAvailable,
                                    memory.PageFileTotal, memory.PageFileAvailable};
  }
  readings.BatteryPercent = system.BatteryPercent;
  readings.OnMains = system.OnMains;
  readings.SystemUptimeSeconds = system.UptimeSeconds;
  readings.Process.reset();
  if (system.OwnProcess) {
    const OwnProcessReading& own = *system.OwnProcess;
    readings.Process = ProcessMetrics{own.CpuSeconds, own.WorkingSetBytes, own.StartTimeUnixSeconds,
                                      own.UptimeSeconds};
  }
}

const wchar_t* DriveTypeLabel(DriveKind kind) {
  switch (kind) {
    case DriveKind::Removable:
      return L"removable";
    case DriveKind::Fixed:
      return L"fixed";
    case DriveKind::Remote:
      return L"remote";
    case DriveKind::Optical:
      return L"optical";
    case DriveKind::RamDisk:
      return L"ramdisk";
    default:
      return L"unknown";
  }
}

void TakeDrives(const DriveTable& table, MetricsReadings& readings) {
  readings.Drives.clear();
  for (int index = 1; index < kDriveRecords; ++index) {
    const DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
    if (drive.State == DriveState::NeverSeen)
      continue;
    const DriveEventTally& events = drive.Events;
    readings.Drives.push_back(
        {std::wstring(1, LetterOf(index)) + L":",
         system_text::Trimmed(drive.VolumeName),
         drive.VolumeSerial,
         DriveTypeLabel(drive.Kind),
         drive.State == DriveState::Present,
         drive.BytesTotal,
         drive.BytesAvailable,
         {events.Found, events.Lost, events.Relabelled, events.MediaChanged}});
  }
}

void TakeNetwork(const NetworkReadings& network, MetricsReadings& readings) {
  readings.Adapters.clear();
  for (const AdapterRecord& adapter : network.Adapters) {
    if (!adapter.Matched)
      continue;
    readings.Adapters.push_back(
        {adapter.Info.Description, adapter.PhysicalAddress, adapter.BytesRecv, adapter.BytesSent,
         adapter.PacketsRecv, adapter.PacketsSent, adapter.ErrorsRecv, adapter.ErrorsSent,
         adapter.ReceiveSpeed, adapter.TransmitSpeed, adapter.OperStatus == kOperStatusUp});
  }
  readings.InternetConnected = network.InternetFlags
                                   ? std::optional<bool>(InternetConnected(*network.InternetFlags))
                                   : std::nullopt;
}

void TakePingHosts(const PingList& hosts, MetricsReadings& readings) {
  readings.PingHosts.clear();
  readings.PingHosts.reserve(hosts.size());
  for (const PSys& host : hosts) {
    // Last is 1 only after a reply; Time keeps that reply's round trip.
    const std::optional<int> roundTrip =
        host.Last == 1 && host.Time >= 0 ? std::optional<int>(host.Time) : std::nullopt;
    readings.PingHosts.push_back(
        {host.Addr, host.Host, roundTrip, host.Sent, host.Lost, host.Actv == 0});
  }
}

template <typename T>
std::optional<T> Read(const NvmlReading<T>& reading) {
  return reading.Status == 0 ? std::optional<T>(reading.Value) : std::nullopt;
}

void TakeGpus(const GpuReadings& gpus, MetricsReadings& readings) {
  readings.Gpus.clear();
  for (size_t index = 0; index < gpus.Cards.Devices.size(); ++index) {
    const GpuDevice& device = gpus.Cards.Devices[index];
    if (device.HandleStatus != 0 || device.CardStatus != 0)  // out of reach: its series end
      continue;
    const GpuSample& sample = device.Sample;
    GpuMetrics gpu;
    gpu.Index = static_cast<int>(index);
    gpu.Name = Read(device.Facts.Name).value_or(L"");
    gpu.TemperatureCelsius = Read(sample.Temperature);
    if (const auto utilization = Read(sample.Utilization))
      gpu.LoadPercent = static_cast<int>(utilization->Gpu);
    if (const auto memory = Read(sample.Memory)) {
      gpu.MemoryUsedBytes = static_cast<int64_t>(memory->Used);
      gpu.MemoryTotalBytes = static_cast<int64_t>(memory->Total);
    }
    if (const auto clock = Read(sample.Clocks[kGraphicsClock]))
      gpu.ClockMhz = *clock;
    if (const auto power = Read(sample.PowerMilliwatts))
      gpu.PowerMilliwatts = *power;
    if (const auto fan = Read(sample.Fan))
      gpu.FanPercent = static_cast<int>(*fan);
    gpu.PerformanceState = Read(sample.PerformanceState);
    readings.Gpus.push_back(std::move(gpu));
  }
}

}  // namespace

std::optional<OwnProcessReading> OwnProcessReadingOf(platform::OwnProcess& process) {
  constexpr double kCpuUnitsPerSecond = 10'000'000.0;
  const std::optional<platform::OwnProcessorTime> time = process.ProcessorTime();
  const std::optional<uint64_t> workingSet = process.WorkingSetBytes();
  if (!time || !workingSet)
    return std::nullopt;
  return OwnProcessReading{static_cast<double>(time->CpuTime) / kCpuUnitsPerSecond,
                           static_cast<int64_t>(*workingSet), time->StartUnixSeconds,
                           time->AgeMs / 1000};
}

MetricsReadings MetricsReadingsSource::Assemble() {
  if (auto system = sources_.System.TryLock())
    TakeSystem(**system, last_);
  if (auto drives = sources_.Drives.TryLock())
    TakeDrives(**drives, last_);
  if (auto network = sources_.Network.TryLock())
    TakeNetwork(**network, last_);
  if (auto ping = sources_.Ping.TryLock())
    TakePingHosts((*ping)->Hosts, last_);
  if (auto gpus = sources_.Gpus.TryLock())
    TakeGpus(**gpus, last_);
  last_.Version = kVersionText;
  return last_;
}

}  // namespace tarvik
