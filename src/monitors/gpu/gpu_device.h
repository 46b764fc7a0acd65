#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/palette.h"
#include "platform/nvml.h"

namespace tarvik {

// Graphics cards have the rows 41-48 of the meter table: no more than eight are shown.
inline constexpr size_t kMaxGpus = 8;
// The most cards counted and named; a count beyond it is not believed.
inline constexpr size_t kMaxCountedGpus = 64;

// A function the loaded library lacks reads as this status, so its row shows as failed.
inline constexpr platform::nvml::Return kNvmlFunctionMissing = 13;
// The status of the InfoROM checksum when the check failed.
inline constexpr platform::nvml::Return kNvmlCorruptedInforom = 14;

// One value that one library call filled, with the status the call returned (0 = success).
template <typename T>
struct NvmlReading {
  T Value{};
  platform::nvml::Return Status = 0;
};

template <typename T>
struct NvmlPair {
  T Current{};
  T Pending{};
};

struct GpuPci {
  std::wstring BusId;
  uint32_t DeviceId = 0;
  uint32_t SubSystemId = 0;
};

// Indexes of the four clocks as the library numbers their types.
inline constexpr int kGraphicsClock = 0;
inline constexpr int kSmClock = 1;
inline constexpr int kMemoryClock = 2;
inline constexpr int kVideoClock = 3;
using GpuClocks = std::array<NvmlReading<uint32_t>, 4>;

// What a card says of itself once: read when the cards are enumerated.
struct GpuFacts {
  NvmlReading<std::wstring> Vbios;
  NvmlReading<std::wstring> CudaCapability;
  std::array<NvmlReading<std::wstring>, 3> Inforom;  // OEM, ECC, power
  NvmlReading<std::wstring> InforomImage;
  NvmlReading<uint32_t> InforomChecksum;
  NvmlReading<NvmlPair<int>> DriverModel;
  NvmlReading<int> PersistenceMode;
  NvmlReading<NvmlPair<int>> OperationMode;
  NvmlReading<int> DisplayActive;
  NvmlReading<int> DisplayMode;
  NvmlReading<int> ComputeMode;
  NvmlReading<NvmlPair<int>> EccMode;
  NvmlReading<unsigned long long> EccCorrected;
  NvmlReading<unsigned long long> EccUncorrected;
  NvmlReading<unsigned long long> TotalEnergy;      // millijoules
  NvmlReading<NvmlPair<uint32_t>> PowerLimitRange;  // minimum, maximum (mW)
  NvmlReading<uint32_t> PowerLimitDefault;
  NvmlReading<uint32_t> PowerLimitEnforced;
  // GPU maximum, memory maximum, shut-down, slow-down (degrees Celsius).
  std::array<NvmlReading<uint32_t>, 4> Thresholds;
  GpuClocks MaxClocks;  // by clock type
  NvmlReading<platform::nvml::Memory> Memory;
  NvmlReading<GpuPci> Pci;
  NvmlReading<uint32_t> PcieReplays;
  NvmlReading<uint32_t> PcieWidthMax;
  NvmlReading<uint32_t> PcieWidth;
  NvmlReading<uint32_t> PcieGenerationMax;
  NvmlReading<uint32_t> PcieGeneration;
  NvmlReading<uint32_t> BoardId;
  NvmlReading<int> Brand;
  NvmlReading<std::wstring> BoardPartNumber;
  NvmlReading<std::wstring> Serial;
  NvmlReading<std::wstring> Name;
};

// What the sampler reads every second.
struct GpuSample {
  GpuClocks Clocks;  // graphics and memory are read
  NvmlReading<platform::nvml::Utilization> Utilization;
  NvmlReading<uint32_t> Fan;  // percent
  NvmlReading<int> PerformanceState;
  NvmlReading<uint32_t> PowerMilliwatts;
  NvmlReading<int> Temperature;  // degrees Celsius
  NvmlReading<platform::nvml::Memory> Memory;
};

struct GpuDevice {
  platform::nvml::Device Handle = nullptr;
  platform::nvml::Return HandleStatus = 0;  // when not 0, no fact of the card was read
  // Not 0 once the card is out of reach: its handle call failed, or it fell off the bus. Nothing
  // more is asked of it until the cards are read again.
  platform::nvml::Return CardStatus = 0;
  GpuFacts Facts;
  GpuClocks FirstClocks;  // the clocks as enumeration found them
  GpuSample Sample;
  Colour RowColour = 0xFFFFFF;  // white until a temperature is read
  // The maximum clocks follow the highest clock seen while this is on.
  bool TracksMaximum = false;
};

using GpuDevices = std::vector<GpuDevice>;

// Every card the library counts: the first eight with their facts, the others by name only.
struct GpuCards {
  GpuDevices Devices;
  std::vector<NvmlReading<std::wstring>> UnshownNames;  // the ninth card on

  [[nodiscard]] size_t Count() const { return Devices.size() + UnshownNames.size(); }
};

}  // namespace tarvik
