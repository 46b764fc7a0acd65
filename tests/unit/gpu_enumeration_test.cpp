#include "monitors/gpu/gpu_enumeration.h"

#include <gtest/gtest.h>

#include "fakes/fake_nvml.h"

namespace tarvik {
namespace {

using fakes::FakeGpu;
using fakes::FakeNvml;

class GpuEnumerationTest : public testing::Test {
 protected:
  void SetUp() override { fakes::ResetFakeNvml(); }
  FakeGpu& AddGpu(const std::string& name) {
    FakeGpu& gpu = FakeNvml().Gpus.emplace_back();
    gpu.Texts["nvmlDeviceGetName"] = name;
    return gpu;
  }
  platform::nvml::Functions nvml_ = fakes::FakeNvmlFunctions();
};

TEST_F(GpuEnumerationTest, CountsAndHandlesThroughNewerOrOlderNames) {
  AddGpu("first");
  AddGpu("second");
  for (const bool older : {false, true}) {
    if (older) {
      nvml_.nvmlDeviceGetCount_v2 = nullptr;
      nvml_.nvmlDeviceGetHandleByIndex_v2 = nullptr;
    }
    const GpuDevices devices = EnumerateGpus(nvml_);
    ASSERT_EQ(devices.size(), 2u) << older;
    EXPECT_EQ(devices[1].Facts.Name.Value, L"second");
    EXPECT_EQ(devices[1].Facts.Name.Status, 0);
  }
  nvml_.nvmlDeviceGetCount = nullptr;
  EXPECT_TRUE(EnumerateGpus(nvml_).empty());
}

TEST_F(GpuEnumerationTest, NoMoreCardsThanTheMeterTableHasRows) {
  EXPECT_TRUE(EnumerateGpus(nvml_).empty());
  for (int i = 0; i < 9; ++i)
    AddGpu("card");
  EXPECT_EQ(EnumerateGpus(nvml_).size(), kMaxGpus);
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
    const GpuClocks maximum = EnumerateGpus(nvml_)[0].Facts.MaxClocks;
    EXPECT_EQ(maximum[kGraphicsClock].Value, c.Graphics) << c.MaxGraphics << c.ListsFail;
    EXPECT_EQ(maximum[kMemoryClock].Value, c.Memory) << c.MaxGraphics << c.ListsFail;
  }
}

TEST_F(GpuEnumerationTest, CurrentPowerLimitStandsInForAMissingDefault) {
  FakeGpu& gpu = AddGpu("card");
  gpu.Values["nvmlDeviceGetPowerManagementDefaultLimit"] = 250'000;
  gpu.Values["nvmlDeviceGetPowerManagementLimit"] = 180'000;
  EXPECT_EQ(EnumerateGpus(nvml_)[0].Facts.PowerLimitDefault.Value, 250'000u);
  gpu.Fails["nvmlDeviceGetPowerManagementDefaultLimit"] = 3;
  EXPECT_EQ(EnumerateGpus(nvml_)[0].Facts.PowerLimitDefault.Value, 180'000u);
  nvml_.nvmlDeviceGetPowerManagementDefaultLimit = nullptr;
  gpu.Fails.clear();
  const GpuFacts facts = EnumerateGpus(nvml_)[0].Facts;
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
  const GpuDevice device = EnumerateGpus(nvml_)[0];
  EXPECT_EQ(device.Facts.Vbios.Status, 3);
  EXPECT_EQ(device.Facts.BoardId.Status, kNvmlFunctionMissing);
  EXPECT_EQ(device.Facts.Serial.Value, L"0321");
  EXPECT_EQ(device.FirstClocks[kGraphicsClock].Value, 1200u);
  EXPECT_EQ(device.FirstClocks[kMemoryClock].Value, 4000u);  // the older call answered
  EXPECT_EQ(device.FirstClocks[kMemoryClock].Status, 0);
}

}  // namespace
}  // namespace tarvik
