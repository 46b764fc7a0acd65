#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// The NVIDIA Management Library as the program uses it: its types and function prototypes as
// NVIDIA publishes them, and one table of the functions a loaded library offers. Any entry may be
// absent (an older driver lacks the newer names); every caller tests an entry before calling it.
namespace tarvik::platform::nvml {

using Return = int;  // 0 is success
inline constexpr Return kSuccess = 0;
inline constexpr Return kErrorNoPermission = 4;
inline constexpr Return kErrorInsufficientPower = 8;
inline constexpr Return kErrorGpuIsLost = 15;  // the card fell off the bus
inline constexpr Return kErrorResetRequired = 16;
inline constexpr Return kErrorUnknown = 999;

// The text buffers the library fills, as large as it needs them.
inline constexpr unsigned int kSystemDriverVersionBufferSize = 80;
inline constexpr unsigned int kSystemNvmlVersionBufferSize = 80;
inline constexpr unsigned int kDeviceNameBufferSize = 96;
inline constexpr unsigned int kDevicePartNumberBufferSize = 80;
inline constexpr unsigned int kDeviceSerialBufferSize = 30;
inline constexpr unsigned int kDeviceVbiosVersionBufferSize = 32;
inline constexpr unsigned int kDeviceInforomVersionBufferSize = 16;

struct DeviceTag;
using Device = DeviceTag*;

struct Memory {
  unsigned long long Total;
  unsigned long long Free;
  unsigned long long Used;
};

struct Utilization {
  unsigned int Gpu;
  unsigned int Memory;
};

// The current layout, which nvmlDeviceGetPciInfo_v3 fills.
struct PciInfo {
  char BusIdLegacy[16];
  unsigned int Domain;
  unsigned int Bus;
  unsigned int Device;
  unsigned int PciDeviceId;
  unsigned int PciSubSystemId;
  char BusId[32];
};

// The layout the older nvmlDeviceGetPciInfo fills.
struct PciInfoV1 {
  char BusId[16];
  unsigned int Domain;
  unsigned int Bus;
  unsigned int Device;
  unsigned int PciDeviceId;
  unsigned int PciSubSystemId;
  unsigned int Reserved[4];
};

struct EccErrorCounts {
  unsigned long long L1Cache;
  unsigned long long L2Cache;
  unsigned long long DeviceMemory;
  unsigned long long RegisterFile;
};

// The library writes into these records by NVIDIA's layout, whatever our declarations say: the
// sizes and offsets below are NVIDIA's, so a declaration that drifts from them does not build.
static_assert(sizeof(Return) == 4 && sizeof(int) == 4 && sizeof(unsigned int) == 4);
static_assert(sizeof(Memory) == 24 && offsetof(Memory, Total) == 0 && offsetof(Memory, Free) == 8 &&
              offsetof(Memory, Used) == 16);
static_assert(sizeof(Utilization) == 8 && offsetof(Utilization, Gpu) == 0 &&
              offsetof(Utilization, Memory) == 4);
static_assert(sizeof(PciInfo) == 68 && offsetof(PciInfo, BusIdLegacy) == 0 &&
              offsetof(PciInfo, Domain) == 16 && offsetof(PciInfo, Bus) == 20 &&
              offsetof(PciInfo, Device) == 24 && offsetof(PciInfo, PciDeviceId) == 28 &&
              offsetof(PciInfo, PciSubSystemId) == 32 && offsetof(PciInfo, BusId) == 36);
static_assert(sizeof(PciInfoV1) == 52 && offsetof(PciInfoV1, BusId) == 0 &&
              offsetof(PciInfoV1, Domain) == 16 && offsetof(PciInfoV1, Bus) == 20 &&
              offsetof(PciInfoV1, Device) == 24 && offsetof(PciInfoV1, PciDeviceId) == 28 &&
              offsetof(PciInfoV1, PciSubSystemId) == 32 && offsetof(PciInfoV1, Reserved) == 36);
static_assert(sizeof(EccErrorCounts) == 32 && offsetof(EccErrorCounts, L1Cache) == 0 &&
              offsetof(EccErrorCounts, L2Cache) == 8 &&
              offsetof(EccErrorCounts, DeviceMemory) == 16 &&
              offsetof(EccErrorCounts, RegisterFile) == 24);

// Clock types: graphics, SM, memory, video.
inline constexpr unsigned int kClockGraphics = 0;
inline constexpr unsigned int kClockSm = 1;
inline constexpr unsigned int kClockMemory = 2;
inline constexpr unsigned int kClockVideo = 3;
inline constexpr unsigned int kClockIdCurrent = 0;

using Init = Return (*)();
using Shutdown = Return (*)();
using SystemText = Return (*)(char* text, unsigned int length);
using SystemInt = Return (*)(int* value);
using SystemCount = Return (*)(unsigned int* count);
using HandleByIndex = Return (*)(unsigned int index, Device* device);
using DeviceText = Return (*)(Device device, char* text, unsigned int length);
using DeviceIndexedText = Return (*)(Device device, int object, char* text, unsigned int length);
using DeviceUnsigned = Return (*)(Device device, unsigned int* value);
using DeviceUnsignedPair = Return (*)(Device device, unsigned int* first, unsigned int* second);
using DeviceIntPair = Return (*)(Device device, int* first, int* second);
using DeviceEnum = Return (*)(Device device, int* value);
using DeviceEnumPair = Return (*)(Device device, int* current, int* pending);
using DeviceLong = Return (*)(Device device, unsigned long long* value);
using DevicePci = Return (*)(Device device, PciInfo* info);
using DevicePciV1 = Return (*)(Device device, PciInfoV1* info);
using DeviceTypedUnsigned = Return (*)(Device device, int type, unsigned int* value);
using DeviceClock = Return (*)(Device device, int type, int id, unsigned int* mhz);
using DeviceFanOf = Return (*)(Device device, unsigned int fan, unsigned int* speed);
using DeviceMemory = Return (*)(Device device, Memory* memory);
using DeviceUtilization = Return (*)(Device device, Utilization* utilization);
using DeviceEccTotal = Return (*)(Device device, int errorType, int counterType,
                                  unsigned long long* count);
using DeviceEccDetailed = Return (*)(Device device, int errorType, int counterType,
                                     EccErrorCounts* counts);
using SupportedMemoryClocks = Return (*)(Device device, unsigned int* count, unsigned int* mhz);
using SupportedGraphicsClocks = Return (*)(Device device, unsigned int memoryMhz,
                                           unsigned int* count, unsigned int* mhz);

struct Functions {
  Init nvmlInit = nullptr;
  Shutdown nvmlShutdown = nullptr;
  SystemText nvmlSystemGetDriverVersion = nullptr;
  SystemText nvmlSystemGetNVMLVersion = nullptr;
  SystemCount nvmlUnitGetCount = nullptr;
  SystemCount nvmlDeviceGetCount = nullptr;
  HandleByIndex nvmlDeviceGetHandleByIndex = nullptr;
  DeviceText nvmlDeviceGetSerial = nullptr;
  DeviceText nvmlDeviceGetName = nullptr;
  DeviceText nvmlDeviceGetUUID = nullptr;
  DeviceIndexedText nvmlDeviceGetInforomVersion = nullptr;
  DeviceEnum nvmlDeviceGetDisplayMode = nullptr;
  DeviceEnum nvmlDeviceGetPersistenceMode = nullptr;
  DevicePciV1 nvmlDeviceGetPciInfo = nullptr;
  DeviceTypedUnsigned nvmlDeviceGetClockInfo = nullptr;
  DeviceTypedUnsigned nvmlDeviceGetMaxClockInfo = nullptr;
  DeviceUnsigned nvmlDeviceGetFanSpeed = nullptr;
  DeviceTypedUnsigned nvmlDeviceGetTemperature = nullptr;
  DeviceEnum nvmlDeviceGetPerformanceState = nullptr;
  DeviceUnsigned nvmlDeviceGetPowerManagementLimit = nullptr;
  DeviceUnsigned nvmlDeviceGetPowerUsage = nullptr;
  DeviceMemory nvmlDeviceGetMemoryInfo = nullptr;
  DeviceEnum nvmlDeviceGetComputeMode = nullptr;
  DeviceEnumPair nvmlDeviceGetEccMode = nullptr;
  DeviceEccTotal nvmlDeviceGetTotalEccErrors = nullptr;
  DeviceEccDetailed nvmlDeviceGetDetailedEccErrors = nullptr;
  DeviceUtilization nvmlDeviceGetUtilizationRates = nullptr;
  DeviceEnumPair nvmlDeviceGetDriverModel = nullptr;
  DeviceText nvmlDeviceGetVbiosVersion = nullptr;
  SystemInt nvmlSystemGetCudaDriverVersion = nullptr;
  SystemInt nvmlSystemGetCudaDriverVersion_v2 = nullptr;
  SystemCount nvmlDeviceGetCount_v2 = nullptr;
  HandleByIndex nvmlDeviceGetHandleByIndex_v2 = nullptr;
  DeviceEnum nvmlDeviceGetBrand = nullptr;
  DeviceText nvmlDeviceGetBoardPartNumber = nullptr;
  DeviceText nvmlDeviceGetInforomImageVersion = nullptr;
  DeviceUnsigned nvmlDeviceGetInforomConfigurationChecksum = nullptr;
  DeviceEnum nvmlDeviceGetDisplayActive = nullptr;
  DevicePci nvmlDeviceGetPciInfo_v3 = nullptr;
  DeviceUnsigned nvmlDeviceGetMaxPcieLinkGeneration = nullptr;
  DeviceUnsigned nvmlDeviceGetMaxPcieLinkWidth = nullptr;
  DeviceUnsigned nvmlDeviceGetCurrPcieLinkGeneration = nullptr;
  DeviceUnsigned nvmlDeviceGetCurrPcieLinkWidth = nullptr;
  DeviceTypedUnsigned nvmlDeviceGetPcieThroughput = nullptr;
  DeviceUnsigned nvmlDeviceGetPcieReplayCounter = nullptr;
  DeviceClock nvmlDeviceGetClock = nullptr;
  SupportedMemoryClocks nvmlDeviceGetSupportedMemoryClocks = nullptr;
  SupportedGraphicsClocks nvmlDeviceGetSupportedGraphicsClocks = nullptr;
  DeviceFanOf nvmlDeviceGetFanSpeed_v2 = nullptr;
  DeviceTypedUnsigned nvmlDeviceGetTemperatureThreshold = nullptr;
  DeviceUnsignedPair nvmlDeviceGetPowerManagementLimitConstraints = nullptr;
  DeviceUnsigned nvmlDeviceGetPowerManagementDefaultLimit = nullptr;
  DeviceLong nvmlDeviceGetTotalEnergyConsumption = nullptr;
  DeviceUnsigned nvmlDeviceGetEnforcedPowerLimit = nullptr;
  DeviceEnumPair nvmlDeviceGetGpuOperationMode = nullptr;
  DeviceIntPair nvmlDeviceGetCudaComputeCapability = nullptr;
  DeviceUnsigned nvmlDeviceGetBoardId = nullptr;
  // Unlike nvmlInit, does not fail when one of the cards is in a bad state.
  Init nvmlInit_v2 = nullptr;
};

// Finds each function of the table by its exported name; `find` returns null for a name the
// library lacks. Only the two loaders (Windows, native) call this.
template <typename Find>
void BindByName(Functions& table, Find find) {
  auto bind = [&find]<typename Fn>(Fn& entry, const char* name) {
    entry = reinterpret_cast<Fn>(find(name));
  };
#define TARVIK_NVML_BIND(name) bind(table.name, #name)
  TARVIK_NVML_BIND(nvmlInit);
  TARVIK_NVML_BIND(nvmlShutdown);
  TARVIK_NVML_BIND(nvmlSystemGetDriverVersion);
  TARVIK_NVML_BIND(nvmlSystemGetNVMLVersion);
  TARVIK_NVML_BIND(nvmlUnitGetCount);
  TARVIK_NVML_BIND(nvmlDeviceGetCount);
  TARVIK_NVML_BIND(nvmlDeviceGetHandleByIndex);
  TARVIK_NVML_BIND(nvmlDeviceGetSerial);
  TARVIK_NVML_BIND(nvmlDeviceGetName);
  TARVIK_NVML_BIND(nvmlDeviceGetUUID);
  TARVIK_NVML_BIND(nvmlDeviceGetInforomVersion);
  TARVIK_NVML_BIND(nvmlDeviceGetDisplayMode);
  TARVIK_NVML_BIND(nvmlDeviceGetPersistenceMode);
  TARVIK_NVML_BIND(nvmlDeviceGetPciInfo);
  TARVIK_NVML_BIND(nvmlDeviceGetClockInfo);
  TARVIK_NVML_BIND(nvmlDeviceGetMaxClockInfo);
  TARVIK_NVML_BIND(nvmlDeviceGetFanSpeed);
  TARVIK_NVML_BIND(nvmlDeviceGetTemperature);
  TARVIK_NVML_BIND(nvmlDeviceGetPerformanceState);
  TARVIK_NVML_BIND(nvmlDeviceGetPowerManagementLimit);
  TARVIK_NVML_BIND(nvmlDeviceGetPowerUsage);
  TARVIK_NVML_BIND(nvmlDeviceGetMemoryInfo);
  TARVIK_NVML_BIND(nvmlDeviceGetComputeMode);
  TARVIK_NVML_BIND(nvmlDeviceGetEccMode);
  TARVIK_NVML_BIND(nvmlDeviceGetTotalEccErrors);
  TARVIK_NVML_BIND(nvmlDeviceGetDetailedEccErrors);
  TARVIK_NVML_BIND(nvmlDeviceGetUtilizationRates);
  TARVIK_NVML_BIND(nvmlDeviceGetDriverModel);
  TARVIK_NVML_BIND(nvmlDeviceGetVbiosVersion);
  TARVIK_NVML_BIND(nvmlSystemGetCudaDriverVersion);
  TARVIK_NVML_BIND(nvmlSystemGetCudaDriverVersion_v2);
  TARVIK_NVML_BIND(nvmlDeviceGetCount_v2);
  TARVIK_NVML_BIND(nvmlDeviceGetHandleByIndex_v2);
  TARVIK_NVML_BIND(nvmlDeviceGetBrand);
  TARVIK_NVML_BIND(nvmlDeviceGetBoardPartNumber);
  TARVIK_NVML_BIND(nvmlDeviceGetInforomImageVersion);
  TARVIK_NVML_BIND(nvmlDeviceGetInforomConfigurationChecksum);
  TARVIK_NVML_BIND(nvmlDeviceGetDisplayActive);
  TARVIK_NVML_BIND(nvmlDeviceGetPciInfo_v3);
  TARVIK_NVML_BIND(nvmlDeviceGetMaxPcieLinkGeneration);
  TARVIK_NVML_BIND(nvmlDeviceGetMaxPcieLinkWidth);
  TARVIK_NVML_BIND(nvmlDeviceGetCurrPcieLinkGeneration);
  TARVIK_NVML_BIND(nvmlDeviceGetCurrPcieLinkWidth);
  TARVIK_NVML_BIND(nvmlDeviceGetPcieThroughput);
  TARVIK_NVML_BIND(nvmlDeviceGetPcieReplayCounter);
  TARVIK_NVML_BIND(nvmlDeviceGetClock);
  TARVIK_NVML_BIND(nvmlDeviceGetSupportedMemoryClocks);
  TARVIK_NVML_BIND(nvmlDeviceGetSupportedGraphicsClocks);
  TARVIK_NVML_BIND(nvmlDeviceGetFanSpeed_v2);
  TARVIK_NVML_BIND(nvmlDeviceGetTemperatureThreshold);
  TARVIK_NVML_BIND(nvmlDeviceGetPowerManagementLimitConstraints);
  TARVIK_NVML_BIND(nvmlDeviceGetPowerManagementDefaultLimit);
  TARVIK_NVML_BIND(nvmlDeviceGetTotalEnergyConsumption);
  TARVIK_NVML_BIND(nvmlDeviceGetEnforcedPowerLimit);
  TARVIK_NVML_BIND(nvmlDeviceGetGpuOperationMode);
  TARVIK_NVML_BIND(nvmlDeviceGetCudaComputeCapability);
  TARVIK_NVML_BIND(nvmlDeviceGetBoardId);
  TARVIK_NVML_BIND(nvmlInit_v2);
#undef TARVIK_NVML_BIND
}

}  // namespace tarvik::platform::nvml

namespace tarvik::platform {

// A loaded NVIDIA Management Library; the library stays loaded while this lives.
class NvmlLibrary {
 public:
  virtual ~NvmlLibrary() = default;
  [[nodiscard]] virtual const nvml::Functions& Functions() const = 0;
};

// Finds and loads the library where this platform keeps it: none when no file is there or it
// does not load. Never loads a library by bare name from the search path on Windows.
using NvmlLoader = std::function<std::unique_ptr<NvmlLibrary>()>;

}  // namespace tarvik::platform
