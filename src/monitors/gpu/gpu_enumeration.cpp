#include "monitors/gpu/gpu_enumeration.h"

#include <algorithm>
#include <optional>

#include "monitors/gpu/gpu_card_status.h"
#include "monitors/gpu/nvml_calls.h"
#include "monitors/gpu/nvml_text.h"

namespace tarvik {
namespace {

namespace nvml = platform::nvml;
using nvml::Device;

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

GpuPci PciOf(const nvml::PciInfo& info) {
  return {NvmlText(info.BusId, sizeof info.BusId), info.PciDeviceId, info.PciSubSystemId};
}

GpuPci PciOf(const nvml::PciInfoV1& info) {
  return {NvmlText(info.BusId, sizeof info.BusId), info.PciDeviceId, info.PciSubSystemId};
}

// The current call fills the current layout, the older one the older layout.
template <typename Info, typename Fn>
void ReadPciAs(Fn fn, Device device, NvmlReading<GpuPci>& reading) {
  Read(fn, reading, [device](auto f, GpuPci& value) {
    Info info{};
    const nvml::Return status = f(device, &info);
    if (status == nvml::kSuccess)
      value = PciOf(info);
    return status;
  });
}

void ReadPci(const nvml::Functions& nvml, Device device, GpuFacts& facts) {
  if (nvml.nvmlDeviceGetPciInfo_v3)
    ReadPciAs<nvml::PciInfo>(nvml.nvmlDeviceGetPciInfo_v3, device, facts.Pci);
  else
    ReadPciAs<nvml::PciInfoV1>(nvml.nvmlDeviceGetPciInfo, device, facts.Pci);
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
  ReadText<nvml::kDeviceVbiosVersionBufferSize>(nvml.nvmlDeviceGetVbiosVersion, facts.Vbios,
                                                device);
  ReadCudaCapability(nvml, device, facts);
  for (int object = 0; object < 3; ++object) {
    ReadText<nvml::kDeviceInforomVersionBufferSize>(nvml.nvmlDeviceGetInforomVersion,
                                                    facts.Inforom[static_cast<size_t>(object)],
                                                    device, object);
  }
  ReadText<nvml::kDeviceInforomVersionBufferSize>(nvml.nvmlDeviceGetInforomImageVersion,
                                                  facts.InforomImage, device);
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
  ReadText<nvml::kDevicePartNumberBufferSize>(nvml.nvmlDeviceGetBoardPartNumber,
                                              facts.BoardPartNumber, device);
  ReadText<nvml::kDeviceSerialBufferSize>(nvml.nvmlDeviceGetSerial, facts.Serial, device);
  ReadText<nvml::kDeviceNameBufferSize>(nvml.nvmlDeviceGetName, facts.Name, device);
}

// The count as the library gives it, up to the most cards believed.
size_t DeviceCount(const nvml::Functions& nvml) {
  const nvml::SystemCount count =
      nvml.nvmlDeviceGetCount_v2 ? nvml.nvmlDeviceGetCount_v2 : nvml.nvmlDeviceGetCount;
  unsigned int devices = 0;
  if (count == nullptr || count(&devices) != nvml::kSuccess)
    return 0;
  return std::min<size_t>(devices, kMaxCountedGpus);
}

// The newer handle call counts the cards this process may not use as well, so a card the
// process may not use keeps its place and shows why it cannot be read.
nvml::Return ReadHandle(const nvml::Functions& nvml, unsigned int index, Device& device) {
  const nvml::HandleByIndex handle = nvml.nvmlDeviceGetHandleByIndex_v2
                                         ? nvml.nvmlDeviceGetHandleByIndex_v2
                                         : nvml.nvmlDeviceGetHandleByIndex;
  return handle ? handle(index, &device) : kNvmlFunctionMissing;
}

// A card whose handle cannot be had is asked nothing more: each call would only fail again
// with a null handle and hide the cause.
GpuDevice ReadDevice(const nvml::Functions& nvml, unsigned int index) {
  GpuDevice gpu;
  gpu.HandleStatus = ReadHandle(nvml, index, gpu.Handle);
  if (gpu.HandleStatus != nvml::kSuccess) {
    PutOutOfReach(gpu, gpu.HandleStatus);
    return gpu;
  }
  ReadVersionsAndModes(nvml, gpu.Handle, gpu.Facts);
  ReadLimitsAndClocks(nvml, gpu.Handle, gpu.Facts);
  ReadSupportedClocks(nvml, gpu.Handle, gpu.Facts.MaxClocks);
  ReadBoard(nvml, gpu.Handle, gpu.Facts);
  for (int type = kGraphicsClock; type <= kVideoClock; ++type)
    nvml_calls::ReadClock(nvml, gpu.Handle, type, gpu.FirstClocks[static_cast<size_t>(type)]);
  return gpu;
}

NvmlReading<std::wstring> ReadName(const nvml::Functions& nvml, unsigned int index) {
  NvmlReading<std::wstring> name;
  Device device = nullptr;
  name.Status = ReadHandle(nvml, index, device);
  if (name.Status == nvml::kSuccess)
    ReadText<nvml::kDeviceNameBufferSize>(nvml.nvmlDeviceGetName, name, device);
  return name;
}

}  // namespace

GpuCards EnumerateGpus(const nvml::Functions& nvml) {
  GpuCards cards;
  const size_t count = DeviceCount(nvml);
  for (unsigned int index = 0; index < count; ++index) {
    // Beyond the GPU rows of the meter table a card is only named.
    if (index < kMaxGpus)
      cards.Devices.push_back(ReadDevice(nvml, index));
    else
      cards.UnshownNames.push_back(ReadName(nvml, index));
  }
  return cards;
}

}  // namespace tarvik
