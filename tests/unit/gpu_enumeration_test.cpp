#include "monitors/gpu/gpu_enumeration.h"

#include <gtest/gtest.h>

#include "fakes/fake_nvml.h"

namespace tarvik {
namespace {

using fakes::FakeGpu;
using fakes::FakeNvml;
namespace nvml = platform::nvml;

class GpuEnumerationTest : public testing::Test {
 protected:
  void SetUp() override { fakes::ResetFakeNvml(); }
  FakeGpu& AddGpu(const std::string& name) {
    FakeGpu& gpu = FakeNvml().Gpus.emplace_back();
    gpu.Texts["nvmlDeviceGetName"] = name;
    return gpu;
  }
  GpuDevice First() { return EnumerateGpus(nvml_).Devices.at(0); }
  nvml::Functions nvml_ = fakes::FakeNvmlFunctions();
};

// The newer count and handle calls also see a card this process may not use, so it keeps its
// place and shows why; the older ones do not see it, and stand in only where the newer are
// missing.
TEST_F(GpuEnumerationTest, CountsAndHandlesThroughNewerOrOlderNames) {
  AddGpu("first");
  AddGpu("denied").FailsAll = nvml::kErrorNoPermission;
  AddGpu("third");
  const struct {
    bool NewerCount;
    bool NewerHandle;
    size_t Cards;
    const wchar_t* Second;
  } cases[] = {{true, true, 3, L""}, {false, true, 2, L""}, {false, false, 2, L"third"}};
  for (const auto& c : cases) {
    nvml::Functions table = nvml_;
    if (!c.NewerCount)
      table.nvmlDeviceGetCount_v2 = nullptr;
    if (!c.NewerHandle)
      table.nvmlDeviceGetHandleByIndex_v2 = nullptr;
    const GpuDevices devices = EnumerateGpus(table).Devices;
    ASSERT_EQ(devices.size(), c.Cards) << c.NewerCount << c.NewerHandle;
    EXPECT_EQ(devices[0].Facts.Name.Value, L"first");
    EXPECT_EQ(devices[1].Facts.Name.Value, c.Second);
    EXPECT_EQ(devices[1].CardStatus, *c.Second ? 0 : nvml::kErrorNoPermission);
  }
  nvml_.nvmlDeviceGetCount = nvml_.nvmlDeviceGetCount_v2 = nullptr;
  EXPECT_EQ(EnumerateGpus(nvml_).Count(), 0u);
}

// A card whose handle fails shows the handle's status and is asked nothing more: enumerating it
// beside a good card costs its handle call only.
TEST_F(GpuEnumerationTest, ACardWithoutHandleIsAskedNothingMore) {
  AddGpu("good");
  static_cast<void>(EnumerateGpus(nvml_));
  const int goodCardCalls = FakeNvml().Calls;
  for (const nvml::Return status : {nvml::kErrorInsufficientPower, nvml::kErrorGpuIsLost, 999}) {
    fakes::ResetFakeNvml();
    AddGpu("good");
    AddGpu("bad").FailsAll = status;
    const GpuDevices devices = EnumerateGpus(nvml_).Devices;
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(FakeNvml().Calls, goodCardCalls + 1) << status;
    EXPECT_EQ(devices[1].HandleStatus, status);
    EXPECT_EQ(devices[1].CardStatus, status);
    EXPECT_EQ(devices[1].Sample.Temperature.Status, status);
    EXPECT_EQ(devices[0].CardStatus, 0);
    EXPECT_EQ(devices[0].Facts.Name.Value, L"good");
  }
}

// Rows exist for eight cards; the others are counted and named, as far as 64 cards.
TEST_F(GpuEnumerationTest, CardsPastTheEighthAreCountedAndNamed) {
  const struct {
    int Cards;
    size_t Counted;
    size_t Unshown;
  } cases[] = {{0, 0, 0}, {8, 8, 0}, {9, 9, 1}, {11, 11, 3}, {70, 64, 56}};
  for (const auto& c : cases) {
    fakes::ResetFakeNvml();
    for (int i = 0; i < c.Cards; ++i)
      AddGpu("card " + std::to_string(i));
    if (c.Cards > 9)
      FakeNvml().Gpus[9].FailsAll = nvml::kErrorGpuIsLost;
    const GpuCards cards = EnumerateGpus(nvml_);
    EXPECT_EQ(cards.Count(), c.Counted) << c.Cards;
    EXPECT_EQ(cards.Devices.size(), std::min<size_t>(c.Counted, kMaxGpus));
    ASSERT_EQ(cards.UnshownNames.size(), c.Unshown);
    if (c.Unshown >= 2) {
      EXPECT_EQ(cards.UnshownNames[0].Value, L"card 8");
      EXPECT_EQ(cards.UnshownNames[1].Status, nvml::kErrorGpuIsLost);
    }
  }
}

// The library's own buffer sizes: a name of 95 characters and a part number of 79 fit.
TEST_F(GpuEnumerationTest, TextsAsLongAsTheLibraryGivesThem) {
  const struct {
    size_t Name;
    size_t PartNumber;
    nvml::Return NameStatus;
    nvml::Return PartStatus;
  } cases[] = {{95, 79, 0, 0}, {96, 80, 7, 7}, {64, 64, 0, 0}};
  for (const auto& c : cases) {
    fakes::ResetFakeNvml();
    FakeGpu& gpu = AddGpu(std::string(c.Name, 'n'));
    gpu.Texts["nvmlDeviceGetBoardPartNumber"] = std::string(c.PartNumber, 'p');
    const GpuFacts facts = First().Facts;
    EXPECT_EQ(facts.Name.Status, c.NameStatus) << c.Name;
    EXPECT_EQ(facts.Name.Value.size(), c.NameStatus == 0 ? c.Name : 0u);
    EXPECT_EQ(facts.BoardPartNumber.Status, c.PartStatus) << c.PartNumber;
  }
  // No control character of the library's text reaches a window or the log.
  fakes::ResetFakeNvml();
  AddGpu("Fake\tCard\r\n\x1b[2J\x7f \xc2\x9b\xc3\xa4");
  EXPECT_EQ(First().Facts.Name.Value, L"FakeCard[2J \u00e4");
}

// The older call fills the older, shorter record with the bus id in its legacy form.
TEST_F(GpuEnumerationTest, PciThroughTheNewerOrTheOlderCall) {
  FakeGpu& gpu = AddGpu("card");
  gpu.Texts["busId"] = "00000000:01:00.0";
  gpu.Texts["busIdLegacy"] = "0000:01:00.0";
  gpu.Values["pciDeviceId"] = 0x1B8010DE;
  for (const bool newer : {true, false}) {
    if (!newer)
      nvml_.nvmlDeviceGetPciInfo_v3 = nullptr;
    const NvmlReading<GpuPci> pci = First().Facts.Pci;
    EXPECT_EQ(pci.Status, 0);
    EXPECT_EQ(pci.Value.BusId, newer ? L"00000000:01:00.0" : L"0000:01:00.0");
    EXPECT_EQ(pci.Value.DeviceId, 0x1B8010DEu);
  }
}

TEST_F(GpuEnumerationTest, SupportedClocksStandInForAMissingMaximum) {
  const struct {
    unsigned long long MaxGraphics;
    bool ListsFail;
    uint32_t Graphics;
    uint32_t Memory;
  } cases[] = {{0, false, 1980, 7001}, {1500, false, 1500, 5000}, {0, true, 0, 5000}};
  for (const auto& c : cases) {
    fakes::ResetFakeNvml();
    FakeGpu& gpu = AddGpu("card");
    gpu.Values["nvmlDeviceGetMaxClockInfo/0"] = c.MaxGraphics;
    gpu.Values["nvmlDeviceGetMaxClockInfo/2"] = 5000;
    gpu.MemoryClocks = {7001, 5000};
    gpu.GraphicsClocks = {1980, 1800};
    if (c.ListsFail)
      gpu.Fails["nvmlDeviceGetSupportedMemoryClocks"] = 3;
    const GpuClocks maximum = First().Facts.MaxClocks;
    EXPECT_EQ(maximum[kGraphicsClock].Value, c.Graphics) << c.MaxGraphics << c.ListsFail;
    EXPECT_EQ(maximum[kMemoryClock].Value, c.Memory) << c.MaxGraphics << c.ListsFail;
  }
}

TEST_F(GpuEnumerationTest, CurrentPowerLimitStandsInForAMissingDefault) {
  FakeGpu& gpu = AddGpu("card");
  gpu.Values["nvmlDeviceGetPowerManagementDefaultLimit"] = 250'000;
  gpu.Values["nvmlDeviceGetPowerManagementLimit"] = 180'000;
  EXPECT_EQ(First().Facts.PowerLimitDefault.Value, 250'000u);
  gpu.Fails["nvmlDeviceGetPowerManagementDefaultLimit"] = 3;
  EXPECT_EQ(First().Facts.PowerLimitDefault.Value, 180'000u);
  nvml_.nvmlDeviceGetPowerManagementDefaultLimit = nullptr;
  gpu.Fails.clear();
  const GpuFacts facts = First().Facts;
  EXPECT_EQ(facts.PowerLimitDefault.Value, 180'000u);
  EXPECT_EQ(facts.PowerLimitDefault.Status, 0);
}

TEST_F(GpuEnumerationTest, AFailingOrMissingCallKeepsItsStatusAndReadingGoesOn) {
  FakeGpu& gpu = AddGpu("card");
  gpu.Fails["nvmlDeviceGetVbiosVersion"] = 3;
  gpu.Texts["nvmlDeviceGetSerial"] = "0321";
  gpu.Values["nvmlDeviceGetClock/0"] = 1200;
  gpu.Values["nvmlDeviceGetClockInfo/2"] = 4000;
  gpu.Fails["nvmlDeviceGetClock/2"] = 3;
  nvml_.nvmlDeviceGetBoardId = nullptr;
  const GpuDevice device = First();
  EXPECT_EQ(device.Facts.Vbios.Status, 3);
  EXPECT_EQ(device.Facts.BoardId.Status, kNvmlFunctionMissing);
  EXPECT_EQ(device.Facts.Serial.Value, L"0321");
  EXPECT_EQ(device.FirstClocks[kGraphicsClock].Value, 1200u);
  EXPECT_EQ(device.FirstClocks[kMemoryClock].Value, 4000u);  // the older call answered
  EXPECT_EQ(device.FirstClocks[kMemoryClock].Status, 0);
}

}  // namespace
}  // namespace tarvik
