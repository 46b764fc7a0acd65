#include "monitors/gpu/nvml_start.h"

#include <gtest/gtest.h>

#include "fakes/fake_nvml.h"

namespace tarvik {
namespace {

using fakes::FakeNvml;

class NvmlStartTest : public testing::Test {
 protected:
  void SetUp() override { fakes::ResetFakeNvml(); }
  platform::nvml::Functions nvml_ = fakes::FakeNvmlFunctions();
};

TEST_F(NvmlStartTest, DriversFrom285OnAreAccepted) {
  const struct {
    const char* Version;
    bool Accepted;
  } cases[] = {{"285.62", true}, {"285", true}, {"1000.1", true}, {"284.99", false},
               {"28.5", false},  {"", false},   {"r285", false},  {"99999999999", true}};
  for (const auto& c : cases) {
    FakeNvml().DriverVersion = c.Version;
    EXPECT_EQ(StartNvml(nvml_).has_value(), c.Accepted) << c.Version;
  }
}

// The older initialisation fails as a whole while one card is in a bad state; the newer one,
// taken where the library has it, leaves that to the card.
TEST_F(NvmlStartTest, InitialisesThroughTheNewerNameOrTheOlderOne) {
  const struct {
    bool Newer;
    bool Older;
    platform::nvml::Return BadCard;
    platform::nvml::Return Init;
    bool Started;
  } cases[] = {{true, true, platform::nvml::kErrorGpuIsLost, 0, true},
               {false, true, platform::nvml::kErrorGpuIsLost, 0, false},
               {false, true, 0, 0, true},
               {true, false, 0, 0, true},
               {true, true, 0, 3, false},
               {false, false, 0, 0, false}};
  for (const auto& c : cases) {
    fakes::ResetFakeNvml();
    FakeNvml().Gpus.resize(2);
    FakeNvml().Gpus[1].FailsAll = c.BadCard;
    FakeNvml().InitStatus = c.Init;
    platform::nvml::Functions table = nvml_;
    if (!c.Newer)
      table.nvmlInit_v2 = nullptr;
    if (!c.Older)
      table.nvmlInit = nullptr;
    EXPECT_EQ(StartNvml(table).has_value(), c.Started) << c.Newer << c.Older << c.BadCard << c.Init;
  }
}

TEST_F(NvmlStartTest, CudaVersionFromTheNewerCallOrTheOlderOne) {
  const auto system = StartNvml(nvml_);
  ASSERT_TRUE(system);
  EXPECT_EQ(system->CudaVersion, 4020);
  EXPECT_EQ(system->DriverVersion, L"285.62");
  EXPECT_EQ(system->NvmlVersion, L"3.295.41");
  nvml_.nvmlSystemGetCudaDriverVersion_v2 = nullptr;
  EXPECT_EQ(StartNvml(nvml_)->CudaVersion, 4010);
  nvml_.nvmlSystemGetCudaDriverVersion = nullptr;
  EXPECT_EQ(StartNvml(nvml_)->CudaVersion, 0);
}

TEST_F(NvmlStartTest, AVersionTextWithoutTerminatorStaysInItsBuffer) {
  FakeNvml().DriverVersion = std::string(79, '9');
  nvml_.nvmlSystemGetNVMLVersion = [](char* text, unsigned int length) {
    std::fill(text, text + length, 'x');
    return platform::nvml::kSuccess;
  };
  const auto system = StartNvml(nvml_);
  ASSERT_TRUE(system);
  EXPECT_EQ(system->NvmlVersion, std::wstring(80, L'x'));
}

}  // namespace
}  // namespace tarvik
