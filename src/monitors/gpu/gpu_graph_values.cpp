#include "monitors/gpu/gpu_graph_values.h"

namespace tarvik {
namespace {

template <typename T>
int64_t ValueOf(const NvmlReading<T>& reading) {
  return reading.Status == platform::nvml::kSuccess ? static_cast<int64_t>(reading.Value) : 0;
}

// The whole percent of the maximum, counted in hundredths of it; 0 while a hundredth of the
// maximum is 0, so a maximum below 100 does not divide by zero.
int Percent(int64_t current, int64_t maximum) {
  const int64_t hundredth = maximum / 100;
  return hundredth == 0 ? 0 : static_cast<int>(current / hundredth);
}

}  // namespace

std::array<int, 6> GpuGraphValues(const GpuDevice& device) {
  const GpuSample& sample = device.Sample;
  const GpuFacts& facts = device.Facts;
  const bool loaded = sample.Utilization.Status == platform::nvml::kSuccess;
  return {loaded ? static_cast<int>(sample.Utilization.Value.Gpu) : 0,
          loaded ? static_cast<int>(sample.Utilization.Value.Memory) : 0,
          static_cast<int>(ValueOf(sample.Fan)),
          Percent(ValueOf(sample.Clocks[kGraphicsClock]), facts.MaxClocks[kGraphicsClock].Value),
          Percent(ValueOf(sample.Clocks[kMemoryClock]), facts.MaxClocks[kMemoryClock].Value),
          Percent(ValueOf(sample.PowerMilliwatts), facts.PowerLimitDefault.Value)};
}

void RaiseMaximumClocks(GpuDevice& device) {
  if (!device.TracksMaximum)
    return;
  for (const int type : {kGraphicsClock, kSmClock, kMemoryClock, kVideoClock}) {
    const NvmlReading<uint32_t>& current = device.Sample.Clocks[static_cast<size_t>(type)];
    NvmlReading<uint32_t>& maximum = device.Facts.MaxClocks[static_cast<size_t>(type)];
    if (current.Status == platform::nvml::kSuccess && current.Value > maximum.Value)
      maximum = current;
  }
}

}  // namespace tarvik
