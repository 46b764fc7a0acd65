#include "monitors/gpu/gpu_enumeration.h"

#include <algorithm>
#include <optional>

#include "monitors/gpu/nvml_calls.h"
#include "monitors/gpu/nvml_text.h"

namespace tarvik {
namespace {

namespace nvml = platform::nvml;
using nvml::Device;

constexpr unsigned int kVbiosBufferSize = 32;
constexpr unsigned int kInforomBufferSize = 16;
constexpr unsigned int kPartNumberBufferSize = 64;
constexpr unsigned int kSerialBufferSize = 30;
constexpr unsigned int kNameBufferSize = 64;
constexpr unsigned int kClockListSize = 1024;
constexpr int kEccCorrected = 0;
constexpr int kEccUncorrected = 1;
constexpr int kEccAggregate = 1;
// GPU maximum, memory maximum, shut-down, slow-down.
constexpr int kThresholdTypes[] = {3, 2, 0, 1};
constexpr int kMaxClockOrder[] = {kSmClock, kMemoryClock, kGraphicsClock, kVideoClock};

using nvml_calls::Read;
using nvml_calls::ReadValue;

void ReadUnsigned(nvml::DeviceUnsigned fn, Device device, NvmlReading<uint32_t>& reading) {
  nvml_calls::ReadNumber(fn, device, reading);
}

void ReadTyped(nvml::DeviceTypedUnsigned fn, Device device, int type,
               NvmlReading<uint32_t>& reading) {
  nvml_calls::ReadNumber(fn, device, reading, type);
}

template <unsigned int kSize, typename Fn, typename... Args>
void ReadText(Fn fn, NvmlReading<std::wstring>& reading, Args... args) {
  Read(fn, reading, [args...](auto f, std::wstring& value) {
    char buffer[kSize] = {};
    const nvml::Return status = f(args..., buffer, kSize);
    if (status == nvml::kSuccess)
      value = NvmlText(buffer, kSize);
    return status;
  });
}

template <typename T, typename Fn>
void ReadPair(Fn fn, Device device, NvmlReading<NvmlPair<T>>& reading) {
  Read(fn, reading, [device](auto f, NvmlPair<T>& value) {
    NvmlPair<T> read;
    const nvml::Return status = f(device, &read.Current, &read.Pending);
    if (status == nvml::kSuccess)
      value = read;
    return status;
  });
}

void ReadEcc(nvml::DeviceEccTotal fn, Device device, int errorType,
             NvmlReading<unsigned long long>& reading) {
  Read(fn, reading, [device, errorType](auto f, unsigned long long& value) {
    unsigned long long read = 0;
    const nvml::Return status = f(device, errorType, kEccAggregate, &read);
    if (status == nvml::kSuccess)
      value = read;
    return status;
  });
}

void ReadCudaCapability(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  if (!nvml.nvmlDeviceGetCudaComputeCapability)
    return;
  Read(nvml.nvmlDeviceGetCudaComputeCapability, facts.CudaCapability,
       [device](auto f, std::wstring& value) {
         int major = 0;
         int minor = 0;
         const nvml::Return status = f(device, &major, &minor);
         if (status == nvml::kSuccess)
           value = (std::to_wstring(major) + L"." + std::to_wstring(minor)).substr(0, 6);
         return status;
       });
}

// The default limit, or the current one where the library has no default or it fails.
void ReadDefaultPowerLimit(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  ReadUnsigned(nvml.nvmlDeviceGetPowerManagementDefaultLimit, device, facts.PowerLimitDefault);
  if (facts.PowerLimitDefault.Status != nvml::kSuccess)
    ReadUnsigned(nvml.nvmlDeviceGetPowerManagementLimit, device, facts.PowerLimitDefault);
}

void ReadPci(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  const bool current = nvml.nvmlDeviceGetPciInfo_v3 != nullptr;
  Read(current ? nvml.nvmlDeviceGetPciInfo_v3 : nvml.nvmlDeviceGetPciInfo, facts.Pci,
       [device, current](auto f, GpuPci& value) {
         nvml::PciInfo info{};
         const nvml::Return status = f(device, &info);
         if (status == nvml::kSuccess) {
           value.BusId = current ? NvmlText(info.BusId, sizeof info.BusId)
                                 : NvmlText(info.BusIdLegacy, sizeof info.BusIdLegacy);
           value.DeviceId = info.PciDeviceId;
           value.SubSystemId = info.PciSubSystemId;
         }
         return status;
       });
}

// The first entry of a supported-clock list; none when the call fails or lists nothing.
template <typename Call>
std::optional<uint32_t> FirstSupportedClock(Call call) {
  std::vector<unsigned int> clocks(kClockListSize);
  unsigned int count = kClockListSize;
  if (call(&count, clocks.data()) != nvml::kSuccess || count == 0)
    return std::nullopt;
  return clocks[0];
}

// A card that reports no maximum graphics clock: the fastest supported clocks stand for it.
void ReadSupportedClocks(const nvml::Functions& nvml, Device device, GpuClocks& maximum) {
  if (maximum[kGraphicsClock].Value != 0 || !nvml.nvmlDeviceGetSupportedMemoryClocks)
    return;
  const auto memory = FirstSupportedClock([&](unsigned int* count, unsigned int* mhz) {
    return nvml.nvmlDeviceGetSupportedMemoryClocks(device, count, mhz);
  });
  if (!memory)
    return;
  maximum[kMemoryClock] = {*memory, nvml::kSuccess};
  if (!nvml.nvmlDeviceGetSupportedGraphicsClocks)
    return;
  const auto graphics = FirstSupportedClock([&](unsigned int* count, unsigned int* mhz) {
    return nvml.nvmlDeviceGetSupportedGraphicsClocks(device, *memory, count, mhz);
  });
  if (graphics)
    maximum[kGraphicsClock] = {*graphics, nvml::kSuccess};
}

void ReadVersionsAndModes(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  ReadText<kVbiosBufferSize>(nvml.nvmlDeviceGetVbiosVersion, facts.Vbios, device);
  ReadCudaCapability(nvml, device, facts);
  for (int object = 0; object < 3; ++object) {
    ReadText<kInforomBufferSize>(nvml.nvmlDeviceGetInforomVersion,
                                 facts.Inforom[static_cast<size_t>(object)], device, object);
  }
  ReadText<kInforomBufferSize>(nvml.nvmlDeviceGetInforomImageVersion, facts.InforomImage, device);
  ReadUnsigned(nvml.nvmlDeviceGetInforomConfigurationChecksum, device, facts.InforomChecksum);
  ReadPair<int>(nvml.nvmlDeviceGetDriverModel, device, facts.DriverModel);
  ReadValue(nvml.nvmlDeviceGetPersistenceMode, device, facts.PersistenceMode);
  ReadPair<int>(nvml.nvmlDeviceGetGpuOperationMode, device, facts.OperationMode);
  ReadValue(nvml.nvmlDeviceGetDisplayActive, device, facts.DisplayActive);
  ReadValue(nvml.nvmlDeviceGetDisplayMode, device, facts.DisplayMode);
  ReadValue(nvml.nvmlDeviceGetComputeMode, device, facts.ComputeMode);
  ReadPair<int>(nvml.nvmlDeviceGetEccMode, device, facts.EccMode);
  ReadEcc(nvml.nvmlDeviceGetTotalEccErrors, device, kEccCorrected, facts.EccCorrected);
  ReadEcc(nvml.nvmlDeviceGetTotalEccErrors, device, kEccUncorrected, facts.EccUncorrected);
}

void ReadLimitsAndClocks(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  ReadValue(nvml.nvmlDeviceGetTotalEnergyConsumption, device, facts.TotalEnergy);
  ReadPair<uint32_t>(nvml.nvmlDeviceGetPowerManagementLimitConstraints, device,
                     facts.PowerLimitRange);
  ReadDefaultPowerLimit(nvml, device, facts);
  if (nvml.nvmlDeviceGetEnforcedPowerLimit)
    ReadUnsigned(nvml.nvmlDeviceGetEnforcedPowerLimit, device, facts.PowerLimitEnforced);
  for (size_t i = 0; i < facts.Thresholds.size(); ++i) {
    ReadTyped(nvml.nvmlDeviceGetTemperatureThreshold, device, kThresholdTypes[i],
              facts.Thresholds[i]);
  }
  for (const int type : kMaxClockOrder) {
    ReadTyped(nvml.nvmlDeviceGetMaxClockInfo, device, type,
              facts.MaxClocks[static_cast<size_t>(type)]);
  }
  ReadValue(nvml.nvmlDeviceGetMemoryInfo, device, facts.Memory);
}

void ReadBoard(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  ReadPci(nvml, device, facts);
  ReadUnsigned(nvml.nvmlDeviceGetPcieReplayCounter, device, facts.PcieReplays);
  ReadUnsigned(nvml.nvmlDeviceGetMaxPcieLinkWidth, device, facts.PcieWidthMax);
  ReadUnsigned(nvml.nvmlDeviceGetCurrPcieLinkWidth, device, facts.PcieWidth);
  ReadUnsigned(nvml.nvmlDeviceGetMaxPcieLinkGeneration, device, facts.PcieGenerationMax);
  ReadUnsigned(nvml.nvmlDeviceGetCurrPcieLinkGeneration, device, facts.PcieGeneration);
  ReadUnsigned(nvml.nvmlDeviceGetBoardId, device, facts.BoardId);
  ReadValue(nvml.nvmlDeviceGetBrand, device, facts.Brand);
  ReadText<kPartNumberBufferSize>(nvml.nvmlDeviceGetBoardPartNumber, facts.BoardPartNumber, device);
  ReadText<kSerialBufferSize>(nvml.nvmlDeviceGetSerial, facts.Serial, device);
  ReadText<kNameBufferSize>(nvml.nvmlDeviceGetName, facts.Name, device);
}

unsigned int DeviceCount(const nvml::Functions& nvml) {
  const nvml::SystemCount count =
      nvml.nvmlDeviceGetCount_v2 ? nvml.nvmlDeviceGetCount_v2 : nvml.nvmlDeviceGetCount;
  unsigned int devices = 0;
  if (count == nullptr || count(&devices) != nvml::kSuccess)
    return 0;
  return devices;
}

}  // namespace

GpuDevices EnumerateGpus(const nvml::Functions& nvml) {
  // A count beyond the GPU rows of the meter table would have no row to show in.
  GpuDevices devices(std::min<size_t>(DeviceCount(nvml), kMaxGpus));
  const nvml::HandleByIndex handle = nvml.nvmlDeviceGetHandleByIndex_v2
                                         ? nvml.nvmlDeviceGetHandleByIndex_v2
                                         : nvml.nvmlDeviceGetHandleByIndex;
  for (unsigned int index = 0; index < devices.size(); ++index) {
    GpuDevice& gpu = devices[index];
    gpu.HandleStatus = handle ? handle(index, &gpu.Handle) : kNvmlFunctionMissing;
    ReadVersionsAndModes(nvml, gpu.Handle, gpu.Facts);
    ReadLimitsAndClocks(nvml, gpu.Handle, gpu.Facts);
    ReadSupportedClocks(nvml, gpu.Handle, gpu.Facts.MaxClocks);
    ReadBoard(nvml, gpu.Handle, gpu.Facts);
    for (int type = kGraphicsClock; type <= kVideoClock; ++type)
      nvml_calls::ReadClock(nvml, gpu.Handle, type, gpu.FirstClocks[static_cast<size_t>(type)]);
  }
  return devices;
}

}  // namespace tarvik
