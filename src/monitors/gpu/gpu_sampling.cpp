#include "monitors/gpu/gpu_sampling.h"

#include "monitors/gpu/gpu_card_status.h"
#include "monitors/gpu/gpu_rows.h"
#include "monitors/gpu/nvml_calls.h"

namespace tarvik {
namespace {

namespace nvml = platform::nvml;

constexpr int kGpuSensor = 0;
constexpr unsigned int kFirstFan = 0;

void ReadFan(const nvml::Functions& functions, nvml::Device device, NvmlReading<uint32_t>& fan) {
  if (functions.nvmlDeviceGetFanSpeed_v2) {
    nvml_calls::ReadNumber(functions.nvmlDeviceGetFanSpeed_v2, device, fan, kFirstFan);
    if (fan.Status == nvml::kSuccess)
      return;
  }
  nvml_calls::ReadNumber(functions.nvmlDeviceGetFanSpeed, device, fan);
}

}  // namespace

void SampleGpu(const nvml::Functions& functions, GpuDevice& device) {
  if (device.CardStatus != nvml::kSuccess)
    return;
  const nvml::Device handle = device.Handle;
  GpuSample& sample = device.Sample;
  nvml_calls::ReadClock(functions, handle, kGraphicsClock, sample.Clocks[kGraphicsClock]);
  nvml_calls::ReadClock(functions, handle, kMemoryClock, sample.Clocks[kMemoryClock]);
  nvml_calls::ReadValue(functions.nvmlDeviceGetUtilizationRates, handle, sample.Utilization);
  ReadFan(functions, handle, sample.Fan);
  nvml_calls::ReadValue(functions.nvmlDeviceGetPerformanceState, handle, sample.PerformanceState);
  nvml_calls::ReadNumber(functions.nvmlDeviceGetPowerUsage, handle, sample.PowerMilliwatts);
  nvml_calls::ReadNumber(functions.nvmlDeviceGetTemperature, handle, sample.Temperature,
                         kGpuSensor);
  nvml_calls::ReadValue(functions.nvmlDeviceGetMemoryInfo, handle, sample.Memory);
  if (SampleShowsLoss(sample))
    PutOutOfReach(device, nvml::kErrorGpuIsLost);
  else if (sample.Temperature.Status == nvml::kSuccess)
    device.RowColour = TemperatureColour(sample.Temperature.Value);
}

}  // namespace tarvik
