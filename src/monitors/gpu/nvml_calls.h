#pragma once

#include <cstdint>

#include "monitors/gpu/gpu_device.h"
#include "platform/nvml.h"

// Reading one value through one library call into its reading: the value changes only when the
// call succeeds, the status always; a function the library lacks reads as missing.
namespace tarvik::nvml_calls {

template <typename Fn, typename T, typename Call>
void Read(Fn fn, NvmlReading<T>& reading, Call call) {
  reading.Status = fn ? call(fn, reading.Value) : kNvmlFunctionMissing;
}

template <typename T>
void ReadValue(platform::nvml::Return (*fn)(platform::nvml::Device, T*),
               platform::nvml::Device device, NvmlReading<T>& reading) {
  Read(fn, reading, [device](auto f, T& value) {
    T read{};
    const platform::nvml::Return status = f(device, &read);
    if (status == platform::nvml::kSuccess)
      value = read;
    return status;
  });
}

// A call that gives an unsigned number, read into a field of another integer type.
template <typename Fn, typename T, typename... Args>
void ReadNumber(Fn fn, platform::nvml::Device device, NvmlReading<T>& reading, Args... args) {
  Read(fn, reading, [device, args...](auto f, T& value) {
    unsigned int read = 0;
    const platform::nvml::Return status = f(device, args..., &read);
    if (status == platform::nvml::kSuccess)
      value = static_cast<T>(read);
    return status;
  });
}

// The current clock: the newer call where the library has it and it answers, the older one
// otherwise.
inline void ReadClock(const platform::nvml::Functions& nvml, platform::nvml::Device device,
                      int type, NvmlReading<uint32_t>& clock) {
  if (nvml.nvmlDeviceGetClock) {
    ReadNumber(nvml.nvmlDeviceGetClock, device, clock, type,
               static_cast<int>(platform::nvml::kClockIdCurrent));
    if (clock.Status == platform::nvml::kSuccess)
      return;
  }
  ReadNumber(nvml.nvmlDeviceGetClockInfo, device, clock, type);
}

}  // namespace tarvik::nvml_calls
