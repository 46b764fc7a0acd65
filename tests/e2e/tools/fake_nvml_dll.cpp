// nvml.dll for the end-to-end tests: the fake library of the unit tests behind the exported
// names of the real one, serving two cards: "Fake Card A" answers every call, "Fake Card B"
// cannot read its temperature, fan or power and falls off the bus after six readings (every call
// about it then answers 15). It lacks the newer "_v2" names of the count, the handle and the
// CUDA version, so the program goes through the older ones, and its older initialisation fails
// once a card is lost. Its CUDA version call looks for the CUDA driver by bare name, as the real
// library does, so that a libcuda.dll laid beside the program shows whether the program let it.
#include <windows.h>

#include "fakes/fake_nvml.h"

namespace {

using tarvik::platform::nvml::Device;
using tarvik::platform::nvml::EccErrorCounts;
using tarvik::platform::nvml::Memory;
using tarvik::platform::nvml::PciInfo;
using tarvik::platform::nvml::Return;
using tarvik::platform::nvml::Utilization;

tarvik::fakes::FakeGpu Card(const char* name, const char* serial, unsigned long long temperature) {
  tarvik::fakes::FakeGpu gpu;
  gpu.Texts = {{"nvmlDeviceGetName", name},
               {"nvmlDeviceGetSerial", serial},
               {"nvmlDeviceGetVbiosVersion", "86.04.1A.00.01"},
               {"busId", "00000000:01:00.0"}};
  gpu.Values = {{"nvmlDeviceGetClock/0", 1500},
                {"nvmlDeviceGetClock/2", 5000},
                {"nvmlDeviceGetMaxClockInfo/0", 2000},
                {"nvmlDeviceGetMaxClockInfo/2", 7000},
                {"nvmlDeviceGetUtilizationRates/gpu", 37},
                {"nvmlDeviceGetUtilizationRates/memory", 12},
                {"nvmlDeviceGetFanSpeed_v2/0", 41},
                {"nvmlDeviceGetPerformanceState", 2},
                {"nvmlDeviceGetPowerUsage", 120'500},
                {"nvmlDeviceGetPowerManagementDefaultLimit", 200'000},
                {"nvmlDeviceGetTemperature/0", temperature},
                {"nvmlDeviceGetBrand", 5},
                {"nvmlDeviceGetMemoryInfo/total", 8ull << 30},
                {"nvmlDeviceGetMemoryInfo/used", 1ull << 30}};
  return gpu;
}

const tarvik::platform::nvml::Functions& Fake() {
  static const tarvik::platform::nvml::Functions functions = [] {
    tarvik::fakes::FakeNvmlBoard& board = tarvik::fakes::FakeNvml();
    board.DriverVersion = "551.23";
    board.CudaVersion = 12040;
    board.Gpus = {Card("Fake Card A", "0320", 43), Card("Fake Card B", "0321", 60)};
    for (const char* failing : {"nvmlDeviceGetTemperature/0", "nvmlDeviceGetFanSpeed_v2/0",
                                "nvmlDeviceGetFanSpeed", "nvmlDeviceGetPowerUsage"}) {
      board.Gpus[1].Fails[failing] = 999;
    }
    board.Gpus[1].LostAfterReadings = 6;
    return tarvik::fakes::FakeNvmlFunctions();
  }();
  return functions;
}

Return CudaVersion(int* version) {
  if (const HMODULE cuda = ::LoadLibraryW(L"libcuda.dll"))
    ::FreeLibrary(cuda);
  return Fake().nvmlSystemGetCudaDriverVersion(version);
}

}  // namespace

#define FAKE_NVML_EXPORT extern "C" __declspec(dllexport) Return
// clang-format off
FAKE_NVML_EXPORT nvmlInit() { return Fake().nvmlInit(); }
FAKE_NVML_EXPORT nvmlInit_v2() { return Fake().nvmlInit_v2(); }
FAKE_NVML_EXPORT nvmlShutdown() { return Fake().nvmlShutdown(); }
FAKE_NVML_EXPORT nvmlSystemGetDriverVersion(char* t, unsigned int n) { return Fake().nvmlSystemGetDriverVersion(t, n); }
FAKE_NVML_EXPORT nvmlSystemGetNVMLVersion(char* t, unsigned int n) { return Fake().nvmlSystemGetNVMLVersion(t, n); }
FAKE_NVML_EXPORT nvmlSystemGetCudaDriverVersion(int* v) { return CudaVersion(v); }
FAKE_NVML_EXPORT nvmlDeviceGetCount(unsigned int* c) { return Fake().nvmlDeviceGetCount(c); }
FAKE_NVML_EXPORT nvmlDeviceGetHandleByIndex(unsigned int i, Device* d) { return Fake().nvmlDeviceGetHandleByIndex(i, d); }
FAKE_NVML_EXPORT nvmlDeviceGetSerial(Device d, char* t, unsigned int n) { return Fake().nvmlDeviceGetSerial(d, t, n); }
FAKE_NVML_EXPORT nvmlDeviceGetName(Device d, char* t, unsigned int n) { return Fake().nvmlDeviceGetName(d, t, n); }
FAKE_NVML_EXPORT nvmlDeviceGetVbiosVersion(Device d, char* t, unsigned int n) { return Fake().nvmlDeviceGetVbiosVersion(d, t, n); }
FAKE_NVML_EXPORT nvmlDeviceGetBoardPartNumber(Device d, char* t, unsigned int n) { return Fake().nvmlDeviceGetBoardPartNumber(d, t, n); }
FAKE_NVML_EXPORT nvmlDeviceGetInforomImageVersion(Device d, char* t, unsigned int n) { return Fake().nvmlDeviceGetInforomImageVersion(d, t, n); }
FAKE_NVML_EXPORT nvmlDeviceGetInforomVersion(Device d, int o, char* t, unsigned int n) { return Fake().nvmlDeviceGetInforomVersion(d, o, t, n); }
FAKE_NVML_EXPORT nvmlDeviceGetDisplayMode(Device d, int* v) { return Fake().nvmlDeviceGetDisplayMode(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetDisplayActive(Device d, int* v) { return Fake().nvmlDeviceGetDisplayActive(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPersistenceMode(Device d, int* v) { return Fake().nvmlDeviceGetPersistenceMode(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetComputeMode(Device d, int* v) { return Fake().nvmlDeviceGetComputeMode(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPerformanceState(Device d, int* v) { return Fake().nvmlDeviceGetPerformanceState(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetBrand(Device d, int* v) { return Fake().nvmlDeviceGetBrand(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPciInfo_v3(Device d, PciInfo* p) { return Fake().nvmlDeviceGetPciInfo_v3(d, p); }
FAKE_NVML_EXPORT nvmlDeviceGetClockInfo(Device d, int c, unsigned int* v) { return Fake().nvmlDeviceGetClockInfo(d, c, v); }
FAKE_NVML_EXPORT nvmlDeviceGetMaxClockInfo(Device d, int c, unsigned int* v) { return Fake().nvmlDeviceGetMaxClockInfo(d, c, v); }
FAKE_NVML_EXPORT nvmlDeviceGetClock(Device d, int c, int i, unsigned int* v) { return Fake().nvmlDeviceGetClock(d, c, i, v); }
FAKE_NVML_EXPORT nvmlDeviceGetFanSpeed(Device d, unsigned int* v) { return Fake().nvmlDeviceGetFanSpeed(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetFanSpeed_v2(Device d, unsigned int f, unsigned int* v) { return Fake().nvmlDeviceGetFanSpeed_v2(d, f, v); }
FAKE_NVML_EXPORT nvmlDeviceGetTemperature(Device d, int s, unsigned int* v) { return Fake().nvmlDeviceGetTemperature(d, s, v); }
FAKE_NVML_EXPORT nvmlDeviceGetTemperatureThreshold(Device d, int t, unsigned int* v) { return Fake().nvmlDeviceGetTemperatureThreshold(d, t, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPowerUsage(Device d, unsigned int* v) { return Fake().nvmlDeviceGetPowerUsage(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPowerManagementLimit(Device d, unsigned int* v) { return Fake().nvmlDeviceGetPowerManagementLimit(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPowerManagementDefaultLimit(Device d, unsigned int* v) { return Fake().nvmlDeviceGetPowerManagementDefaultLimit(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPowerManagementLimitConstraints(Device d, unsigned int* a, unsigned int* b) { return Fake().nvmlDeviceGetPowerManagementLimitConstraints(d, a, b); }
FAKE_NVML_EXPORT nvmlDeviceGetEnforcedPowerLimit(Device d, unsigned int* v) { return Fake().nvmlDeviceGetEnforcedPowerLimit(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetTotalEnergyConsumption(Device d, unsigned long long* v) { return Fake().nvmlDeviceGetTotalEnergyConsumption(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetMemoryInfo(Device d, Memory* m) { return Fake().nvmlDeviceGetMemoryInfo(d, m); }
FAKE_NVML_EXPORT nvmlDeviceGetUtilizationRates(Device d, Utilization* u) { return Fake().nvmlDeviceGetUtilizationRates(d, u); }
FAKE_NVML_EXPORT nvmlDeviceGetEccMode(Device d, int* a, int* b) { return Fake().nvmlDeviceGetEccMode(d, a, b); }
FAKE_NVML_EXPORT nvmlDeviceGetDriverModel(Device d, int* a, int* b) { return Fake().nvmlDeviceGetDriverModel(d, a, b); }
FAKE_NVML_EXPORT nvmlDeviceGetGpuOperationMode(Device d, int* a, int* b) { return Fake().nvmlDeviceGetGpuOperationMode(d, a, b); }
FAKE_NVML_EXPORT nvmlDeviceGetCudaComputeCapability(Device d, int* a, int* b) { return Fake().nvmlDeviceGetCudaComputeCapability(d, a, b); }
FAKE_NVML_EXPORT nvmlDeviceGetTotalEccErrors(Device d, int e, int c, unsigned long long* v) { return Fake().nvmlDeviceGetTotalEccErrors(d, e, c, v); }
FAKE_NVML_EXPORT nvmlDeviceGetInforomConfigurationChecksum(Device d, unsigned int* v) { return Fake().nvmlDeviceGetInforomConfigurationChecksum(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetMaxPcieLinkGeneration(Device d, unsigned int* v) { return Fake().nvmlDeviceGetMaxPcieLinkGeneration(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetMaxPcieLinkWidth(Device d, unsigned int* v) { return Fake().nvmlDeviceGetMaxPcieLinkWidth(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetCurrPcieLinkGeneration(Device d, unsigned int* v) { return Fake().nvmlDeviceGetCurrPcieLinkGeneration(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetCurrPcieLinkWidth(Device d, unsigned int* v) { return Fake().nvmlDeviceGetCurrPcieLinkWidth(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetPcieReplayCounter(Device d, unsigned int* v) { return Fake().nvmlDeviceGetPcieReplayCounter(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetBoardId(Device d, unsigned int* v) { return Fake().nvmlDeviceGetBoardId(d, v); }
FAKE_NVML_EXPORT nvmlDeviceGetSupportedMemoryClocks(Device d, unsigned int* c, unsigned int* v) { return Fake().nvmlDeviceGetSupportedMemoryClocks(d, c, v); }
FAKE_NVML_EXPORT nvmlDeviceGetSupportedGraphicsClocks(Device d, unsigned int m, unsigned int* c, unsigned int* v) { return Fake().nvmlDeviceGetSupportedGraphicsClocks(d, m, c, v); }
// clang-format on
