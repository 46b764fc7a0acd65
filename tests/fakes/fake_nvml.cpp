#include "fakes/fake_nvml.h"

#include <algorithm>
#include <cstring>

namespace tarvik::fakes {
namespace {

using platform::nvml::Device;
using platform::nvml::kSuccess;
using platform::nvml::Return;

constexpr Return kInvalidArgument = 2;
constexpr Return kInsufficientSize = 7;

FakeNvmlBoard board;

std::string Typed(const char* name, int type) {
  return std::string(name) + "/" + std::to_string(type);
}

constexpr const char* kTemperatureReading = "nvmlDeviceGetTemperature/";

// Counts a temperature reading towards the card's fall off the bus.
void CountReading(FakeGpu& gpu, const std::string& name) {
  if (gpu.LostAfterReadings < 0 || name.rfind(kTemperatureReading, 0) != 0)
    return;
  if (gpu.LostAfterReadings-- == 0)
    gpu.FailsAll = platform::nvml::kErrorGpuIsLost;
}

// The card behind a handle and the status a call about it returns.
Return Find(Device device, const std::string& name, FakeGpu*& gpu) {
  ++board.Calls;
  if (board.OnCardCall)
    board.OnCardCall();
  const auto index = reinterpret_cast<uintptr_t>(device);
  if (index == 0 || index > board.Gpus.size())
    return kInvalidArgument;
  gpu = &board.Gpus[index - 1];
  ++gpu->Calls;
  CountReading(*gpu, name);
  if (gpu->FailsAll != kSuccess)
    return gpu->FailsAll;
  const auto failure = gpu->Fails.find(name);
  return failure == gpu->Fails.end() ? kSuccess : failure->second;
}

template <typename T>
Return Value(Device device, const std::string& name, T* value) {
  FakeGpu* gpu = nullptr;
  const Return status = Find(device, name, gpu);
  if (status == kSuccess)
    *value = static_cast<T>(gpu->Values[name]);
  return status;
}

Return CopyText(const std::string& text, char* buffer, unsigned int length) {
  if (text.size() + 1 > length)
    return kInsufficientSize;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return kSuccess;
}

Return Text(Device device, const std::string& name, char* buffer, unsigned int length) {
  FakeGpu* gpu = nullptr;
  const Return status = Find(device, name, gpu);
  return status == kSuccess ? CopyText(gpu->Texts[name], buffer, length) : status;
}

Return ClockList(const std::vector<unsigned int>& clocks, unsigned int* count, unsigned int* mhz) {
  if (clocks.size() > *count)
    return kInsufficientSize;
  std::copy(clocks.begin(), clocks.end(), mhz);
  *count = static_cast<unsigned int>(clocks.size());
  return kSuccess;
}

// The older calls leave out the cards the process has no permission for.
bool SeenByOlderCalls(const FakeGpu& gpu) {
  return gpu.FailsAll != platform::nvml::kErrorNoPermission;
}

Return Count(unsigned int* count) {
  ++board.Calls;
  *count = static_cast<unsigned int>(board.Gpus.size());
  return kSuccess;
}

Return CountV1(unsigned int* count) {
  ++board.Calls;
  *count = static_cast<unsigned int>(
      std::count_if(board.Gpus.begin(), board.Gpus.end(), SeenByOlderCalls));
  return kSuccess;
}

Return HandleOf(size_t gpu, Device* device) {
  ++board.Gpus[gpu].Calls;
  if (board.Gpus[gpu].FailsAll != kSuccess)
    return board.Gpus[gpu].FailsAll;
  *device = reinterpret_cast<Device>(static_cast<uintptr_t>(gpu) + 1);
  return kSuccess;
}

Return Handle(unsigned int index, Device* device) {
  ++board.Calls;
  return index < board.Gpus.size() ? HandleOf(index, device) : kInvalidArgument;
}

Return HandleV1(unsigned int index, Device* device) {
  ++board.Calls;
  for (size_t gpu = 0; gpu < board.Gpus.size(); ++gpu) {
    if (SeenByOlderCalls(board.Gpus[gpu]) && index-- == 0)
      return HandleOf(gpu, device);
  }
  return kInvalidArgument;
}

Return Init() {
  ++board.Calls;
  for (const FakeGpu& gpu : board.Gpus) {
    if (gpu.FailsAll != kSuccess)
      return gpu.FailsAll;
  }
  return board.InitStatus;
}

Return Pair(Device device, const char* name, int* first, int* second) {
  const Return status = Value(device, Typed(name, 0), first);
  return status == kSuccess ? Value(device, Typed(name, 1), second) : status;
}

// The PCI record in the layout of the call: the current one has room for the bus id in its
// current form, the older one only for the legacy form.
template <typename Info>
Return Pci(Device device, const char* name, const char* busId, Info* info) {
  FakeGpu* gpu = nullptr;
  const Return status = Find(device, name, gpu);
  if (status == kSuccess) {
    *info = {};
    static_cast<void>(CopyText(gpu->Texts[busId], info->BusId, sizeof info->BusId));
    info->PciDeviceId = static_cast<unsigned int>(gpu->Values["pciDeviceId"]);
  }
  return status;
}

// Binds a function that takes a type argument before its result.
#define FAKE_TYPED(fn, T) [](Device d, int type, T* v) { return Value(d, Typed(#fn, type), v); }
#define FAKE_VALUE(fn, T) [](Device d, T* v) { return Value(d, #fn, v); }
#define FAKE_TEXT(fn) [](Device d, char* t, unsigned int n) { return Text(d, #fn, t, n); }
#define FAKE_PAIR(fn, T)                                                       \
  [](Device d, T* a, T* b) {                                                   \
    return Pair(d, #fn, reinterpret_cast<int*>(a), reinterpret_cast<int*>(b)); \
  }

}  // namespace

FakeGpu WorkingFakeGpu() {
  FakeGpu gpu;
  gpu.Texts["nvmlDeviceGetName"] = "Fake Card";
  gpu.Values = {{"nvmlDeviceGetMaxClockInfo/0", 2000},
                {"nvmlDeviceGetMaxClockInfo/2", 50},
                {"nvmlDeviceGetPowerManagementDefaultLimit", 200'000},
                {"nvmlDeviceGetClock/0", 1500},
                {"nvmlDeviceGetClock/2", 5000},
                {"nvmlDeviceGetUtilizationRates/gpu", 37},
                {"nvmlDeviceGetUtilizationRates/memory", 12},
                {"nvmlDeviceGetFanSpeed_v2/0", 41},
                {"nvmlDeviceGetPerformanceState", 2},
                {"nvmlDeviceGetPowerUsage", 120'500},
                {"nvmlDeviceGetTemperature/0", 43},
                {"nvmlDeviceGetMemoryInfo/total", 8ull << 30},
                {"nvmlDeviceGetMemoryInfo/used", 1ull << 30}};
  return gpu;
}

FakeNvmlBoard& FakeNvml() {
  return board;
}

void ResetFakeNvml() {
  board = FakeNvmlBoard();
}

platform::nvml::Functions FakeNvmlFunctions() {
  platform::nvml::Functions f;
  f.nvmlInit = Init;
  f.nvmlInit_v2 = [] { return ++board.Calls, board.InitStatus; };
  f.nvmlShutdown = [] { return ++board.Shutdowns, kSuccess; };
  f.nvmlSystemGetDriverVersion = [](char* t, unsigned int n) {
    return CopyText(board.DriverVersion, t, n);
  };
  f.nvmlSystemGetNVMLVersion = [](char* t, unsigned int n) {
    return CopyText(board.NvmlVersion, t, n);
  };
  f.nvmlSystemGetCudaDriverVersion = [](int* v) { return *v = board.CudaVersion, kSuccess; };
  f.nvmlSystemGetCudaDriverVersion_v2 = [](int* v) { return *v = board.CudaVersionV2, kSuccess; };
  f.nvmlUnitGetCount = [](unsigned int* c) { return *c = 0, kSuccess; };
  f.nvmlDeviceGetCount = CountV1;
  f.nvmlDeviceGetCount_v2 = Count;
  f.nvmlDeviceGetHandleByIndex = HandleV1;
  f.nvmlDeviceGetHandleByIndex_v2 = Handle;
  f.nvmlDeviceGetSerial = FAKE_TEXT(nvmlDeviceGetSerial);
  f.nvmlDeviceGetName = FAKE_TEXT(nvmlDeviceGetName);
  f.nvmlDeviceGetUUID = FAKE_TEXT(nvmlDeviceGetUUID);
  f.nvmlDeviceGetVbiosVersion = FAKE_TEXT(nvmlDeviceGetVbiosVersion);
  f.nvmlDeviceGetBoardPartNumber = FAKE_TEXT(nvmlDeviceGetBoardPartNumber);
  f.nvmlDeviceGetInforomImageVersion = FAKE_TEXT(nvmlDeviceGetInforomImageVersion);
  f.nvmlDeviceGetInforomVersion = [](Device d, int object, char* t, unsigned int n) {
    return Text(d, Typed("nvmlDeviceGetInforomVersion", object), t, n);
  };
  f.nvmlDeviceGetDisplayMode = FAKE_VALUE(nvmlDeviceGetDisplayMode, int);
  f.nvmlDeviceGetDisplayActive = FAKE_VALUE(nvmlDeviceGetDisplayActive, int);
  f.nvmlDeviceGetPersistenceMode = FAKE_VALUE(nvmlDeviceGetPersistenceMode, int);
  f.nvmlDeviceGetComputeMode = FAKE_VALUE(nvmlDeviceGetComputeMode, int);
  f.nvmlDeviceGetPerformanceState = FAKE_VALUE(nvmlDeviceGetPerformanceState, int);
  f.nvmlDeviceGetBrand = FAKE_VALUE(nvmlDeviceGetBrand, int);
  f.nvmlDeviceGetFanSpeed = FAKE_VALUE(nvmlDeviceGetFanSpeed, unsigned int);
  f.nvmlDeviceGetPowerManagementLimit = FAKE_VALUE(nvmlDeviceGetPowerManagementLimit, unsigned int);
  f.nvmlDeviceGetPowerManagementDefaultLimit =
      FAKE_VALUE(nvmlDeviceGetPowerManagementDefaultLimit, unsigned int);
  f.nvmlDeviceGetEnforcedPowerLimit = FAKE_VALUE(nvmlDeviceGetEnforcedPowerLimit, unsigned int);
  f.nvmlDeviceGetPowerUsage = FAKE_VALUE(nvmlDeviceGetPowerUsage, unsigned int);
  f.nvmlDeviceGetInforomConfigurationChecksum =
      FAKE_VALUE(nvmlDeviceGetInforomConfigurationChecksum, unsigned int);
  f.nvmlDeviceGetMaxPcieLinkGeneration =
      FAKE_VALUE(nvmlDeviceGetMaxPcieLinkGeneration, unsigned int);
  f.nvmlDeviceGetMaxPcieLinkWidth = FAKE_VALUE(nvmlDeviceGetMaxPcieLinkWidth, unsigned int);
  f.nvmlDeviceGetCurrPcieLinkGeneration =
      FAKE_VALUE(nvmlDeviceGetCurrPcieLinkGeneration, unsigned int);
  f.nvmlDeviceGetCurrPcieLinkWidth = FAKE_VALUE(nvmlDeviceGetCurrPcieLinkWidth, unsigned int);
  f.nvmlDeviceGetPcieReplayCounter = FAKE_VALUE(nvmlDeviceGetPcieReplayCounter, unsigned int);
  f.nvmlDeviceGetBoardId = FAKE_VALUE(nvmlDeviceGetBoardId, unsigned int);
  f.nvmlDeviceGetTotalEnergyConsumption =
      FAKE_VALUE(nvmlDeviceGetTotalEnergyConsumption, unsigned long long);
  f.nvmlDeviceGetClockInfo = FAKE_TYPED(nvmlDeviceGetClockInfo, unsigned int);
  f.nvmlDeviceGetMaxClockInfo = FAKE_TYPED(nvmlDeviceGetMaxClockInfo, unsigned int);
  f.nvmlDeviceGetTemperature = FAKE_TYPED(nvmlDeviceGetTemperature, unsigned int);
  f.nvmlDeviceGetTemperatureThreshold = FAKE_TYPED(nvmlDeviceGetTemperatureThreshold, unsigned int);
  f.nvmlDeviceGetPcieThroughput = FAKE_TYPED(nvmlDeviceGetPcieThroughput, unsigned int);
  f.nvmlDeviceGetClock = [](Device d, int type, int, unsigned int* v) {
    return Value(d, Typed("nvmlDeviceGetClock", type), v);
  };
  f.nvmlDeviceGetFanSpeed_v2 = [](Device d, unsigned int fan, unsigned int* v) {
    return Value(d, Typed("nvmlDeviceGetFanSpeed_v2", static_cast<int>(fan)), v);
  };
  f.nvmlDeviceGetEccMode = FAKE_PAIR(nvmlDeviceGetEccMode, int);
  f.nvmlDeviceGetDriverModel = FAKE_PAIR(nvmlDeviceGetDriverModel, int);
  f.nvmlDeviceGetGpuOperationMode = FAKE_PAIR(nvmlDeviceGetGpuOperationMode, int);
  f.nvmlDeviceGetCudaComputeCapability = FAKE_PAIR(nvmlDeviceGetCudaComputeCapability, int);
  f.nvmlDeviceGetPowerManagementLimitConstraints =
      FAKE_PAIR(nvmlDeviceGetPowerManagementLimitConstraints, unsigned int);
  f.nvmlDeviceGetTotalEccErrors = [](Device d, int error, int counter, unsigned long long* v) {
    return Value(d, Typed("nvmlDeviceGetTotalEccErrors", error * 10 + counter), v);
  };
  f.nvmlDeviceGetMemoryInfo = [](Device d, platform::nvml::Memory* m) {
    FakeGpu* gpu = nullptr;
    const Return status = Find(d, "nvmlDeviceGetMemoryInfo", gpu);
    if (status == kSuccess) {
      m->Total = gpu->Values["nvmlDeviceGetMemoryInfo/total"];
      m->Used = std::min(m->Total, gpu->Values["nvmlDeviceGetMemoryInfo/used"]);
      m->Free = m->Total - m->Used;
    }
    return status;
  };
  f.nvmlDeviceGetUtilizationRates = [](Device d, platform::nvml::Utilization* u) {
    FakeGpu* gpu = nullptr;
    const Return status = Find(d, "nvmlDeviceGetUtilizationRates", gpu);
    if (status == kSuccess) {
      u->Gpu = static_cast<unsigned int>(gpu->Values["nvmlDeviceGetUtilizationRates/gpu"]);
      u->Memory = static_cast<unsigned int>(gpu->Values["nvmlDeviceGetUtilizationRates/memory"]);
    }
    return status;
  };
  f.nvmlDeviceGetPciInfo_v3 = [](Device d, platform::nvml::PciInfo* p) {
    return Pci(d, "nvmlDeviceGetPciInfo_v3", "busId", p);
  };
  f.nvmlDeviceGetPciInfo = [](Device d, platform::nvml::PciInfoV1* p) {
    return Pci(d, "nvmlDeviceGetPciInfo", "busIdLegacy", p);
  };
  f.nvmlDeviceGetSupportedMemoryClocks = [](Device d, unsigned int* count, unsigned int* mhz) {
    FakeGpu* gpu = nullptr;
    const Return status = Find(d, "nvmlDeviceGetSupportedMemoryClocks", gpu);
    return status == kSuccess ? ClockList(gpu->MemoryClocks, count, mhz) : status;
  };
  f.nvmlDeviceGetSupportedGraphicsClocks = [](Device d, unsigned int memory, unsigned int* count,
                                              unsigned int* mhz) {
    FakeGpu* gpu = nullptr;
    const Return status = Find(d, "nvmlDeviceGetSupportedGraphicsClocks", gpu);
    if (status == kSuccess && (gpu->MemoryClocks.empty() || gpu->MemoryClocks[0] != memory))
      return kInvalidArgument;
    return status == kSuccess ? ClockList(gpu->GraphicsClocks, count, mhz) : status;
  };
  return f;
}

}  // namespace tarvik::fakes
