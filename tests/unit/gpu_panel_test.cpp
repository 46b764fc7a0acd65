#include "monitors/gpu/gpu_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "fakes/fake_nvml.h"
#include "monitors/gpu/gpu_enumeration.h"
#include "monitors/gpu/panel_rows.h"
#include "text/translation.h"

namespace tarvik {
namespace {

TEST(GpuPanelRows, ShowOrHideEachRowByItsStatusAndContent) {
  const struct {
    int Status;
    const wchar_t* Label;
    int64_t Number;
    const wchar_t* Value;
    bool ShowErrors;
    std::optional<std::wstring> Expected;
  } cases[] = {
      {0, L"VBIOS", 0, L"  86.04.1A  ", false, L"VBIOS                86.04.1A!"},
      {0, L"Board ID", 512, L"", false, L"Board ID             512!"},
      {0, L"PCIe Link Gen", 0, L"  ", false, std::nullopt},
      {0, L"PCIe Link Gen", 0, L"", true, L"0 PCIe Link Gen        !"},
      {3, L"VBIOS", 7, L"86", false, std::nullopt},
      {3, L"VBIOS", 7, L"86", true, L"3 VBIOS                786!"},
      {0, L"A label of twenty-two", 1, L"", false, L"A label of twenty-two 1!"},
  };
  for (const auto& c : cases) {
    PanelRows rows(c.ShowErrors);
    rows.Add(c.Status, c.Label, c.Number, c.Value, L"!");
    if (c.Expected) {
      ASSERT_EQ(rows.Rows().size(), 1u) << c.Label;
      EXPECT_EQ(rows.Rows()[0], *c.Expected);
    } else {
      EXPECT_TRUE(rows.Rows().empty()) << c.Label;
    }
  }
  PanelRows rows(false);
  rows.AddEmpty();
  rows.AddHeading(L"Heading");
  EXPECT_EQ(rows.Rows(), (std::vector<std::wstring>{L"Heading", L""}));
}

class GpuDetailTest : public testing::Test {
 protected:
  GpuDetailTest() { LoadTranslations(kEnglish); }
  std::vector<std::wstring> Rows(bool showErrors) {
    return GpuDetailRows(system_, cards_, showErrors, 1'709'993'107);
  }
  NvmlSystem system_{12040, L"551.23", L"12.551.23"};
  GpuCards cards_{GpuDevices(2), {}};
  GpuDevices& devices_ = cards_.Devices;
};

TEST_F(GpuDetailTest, TheFirstCardOnTopAndTheVersionsAtTheBottom) {
  devices_[0].Facts.Name.Value = L"First";
  devices_[1].Facts.Name.Value = L"Second";
  devices_[1].Facts.Serial = {L"0324", 0};
  devices_[1].Facts.Brand = {17, 0};
  const auto rows = Rows(false);
  ASSERT_GE(rows.size(), 8u);
  EXPECT_EQ(rows[0], L"2024-03-09 14:05:07 -- [F6]: Active");
  EXPECT_EQ(rows[1], L"[0] First");
  const auto second = std::find(rows.begin(), rows.end(), L"[1] Second");
  ASSERT_NE(second, rows.end());
  EXPECT_EQ(*(second + 1), L"Serial Number        0324");
  EXPECT_EQ(*(second + 2), L"Brand                Unknown");
  const std::vector<std::wstring> bottom(rows.end() - 6, rows.end());
  EXPECT_EQ(bottom, (std::vector<std::wstring>{
                        L"", L"Software             12.551.23", L"NVidia Driver        551.23",
                        L"NVidia Cuda          12.04", L"NVidia Devices       2", L""}));
}

TEST_F(GpuDetailTest, FailedFactsShowOnlyWithErrorDisplay) {
  devices_.resize(1);
  devices_[0].Facts.Vbios = {L"86.04", 3};
  devices_[0].Facts.InforomChecksum = {0, kNvmlCorruptedInforom};
  const auto hidden = Rows(false);
  EXPECT_EQ(std::count(hidden.begin(), hidden.end(), L"3 VBIOS                86.04"), 0);
  EXPECT_EQ(std::count(hidden.begin(), hidden.end(), L"InfoRom Checksum     Corrupted"), 1);
  const auto shown = Rows(true);
  EXPECT_EQ(shown[0], L"2024-03-09 14:05:07 -- [F6]: Showing Errors");
  EXPECT_EQ(std::count(shown.begin(), shown.end(), L"3 VBIOS                86.04"), 1);
  EXPECT_GT(shown.size(), hidden.size());
}

// Read through the fake library, so that two values swapped anywhere between the library's
// answer and the row show up.
TEST_F(GpuDetailTest, LimitsThresholdsAndEnergyAsTheLibraryGivesThem) {
  fakes::ResetFakeNvml();
  fakes::FakeGpu& gpu = fakes::FakeNvml().Gpus.emplace_back();
  gpu.Values = {{"nvmlDeviceGetPowerManagementLimitConstraints/0", 100'000},
                {"nvmlDeviceGetPowerManagementLimitConstraints/1", 300'000},
                {"nvmlDeviceGetPowerManagementDefaultLimit", 250'000},
                {"nvmlDeviceGetEnforcedPowerLimit", 240'000},
                {"nvmlDeviceGetTemperatureThreshold/0", 97},
                {"nvmlDeviceGetTemperatureThreshold/1", 94},
                {"nvmlDeviceGetTemperatureThreshold/2", 95},
                {"nvmlDeviceGetTemperatureThreshold/3", 88},
                {"nvmlDeviceGetTotalEnergyConsumption", 7'200'000'000},
                {"nvmlDeviceGetDriverModel/0", 2}};
  cards_ = EnumerateGpus(fakes::FakeNvmlFunctions());
  const auto rows = Rows(false);
  for (const wchar_t* row :
       {L"Power Limit Max      300 W", L"Power Limit Min      100 W", L"Power Limit Default  250 W",
        L"Power Limit Enforced 240 W", L"Temperature Max      97C Shutdown, 94C Slowdown",
        L"Total Energy Used    7200000000 mJ (2.000 kWh)", L"Driver Model         MCDM"}) {
    EXPECT_EQ(std::count(rows.begin(), rows.end(), row), 1) << row;
  }
}

TEST(GpuNames, BrandsAndDriverModelsByTheLibrarysNumbers) {
  LoadTranslations(kEnglish);
  const std::pair<int, const wchar_t*> brands[] = {
      {0, L"Unknown"},     {5, L"GeForce"},    {6, L"Titan"},    {11, L"NVIDIA Cloud Gaming"},
      {13, L"NVIDIA RTX"}, {16, L"Titan RTX"}, {17, L"Unknown"}, {-1, L"Unknown"}};
  for (const auto& [brand, name] : brands)
    EXPECT_EQ(GpuBrandName(brand), name) << brand;
  const std::pair<int, const wchar_t*> models[] = {
      {0, L"WDDM"}, {1, L"WDM (TCC)"}, {2, L"MCDM"}, {3, L"Unknown (3)"}, {-1, L"Unknown (-1)"}};
  for (const auto& [model, name] : models) {
    GpuCards cards{GpuDevices(1), {}};
    cards.Devices[0].Facts.DriverModel.Value.Current = model;
    const auto rows = GpuDetailRows({}, cards, false, 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), L"Driver Model         " + std::wstring(name)),
              1)
        << model;
  }
}

// A card without handle has only its heading with the cause; a lost card keeps its facts and
// says it is lost; the cards past the eighth are counted and named below the eighth.
TEST_F(GpuDetailTest, CardsOutOfReachAndPastTheEighth) {
  devices_.resize(8);
  devices_[0].Facts.Name.Value = L"Gone";
  devices_[0].Facts.Serial = {L"0320", 0};
  devices_[0].CardStatus = 15;
  devices_[1].HandleStatus = devices_[1].CardStatus = 4;
  devices_[1].Facts.Serial = {L"0321", 0};
  devices_[7].Facts.Name.Value = L"Eighth";
  cards_.UnshownNames = {{L"Ninth", 0}, {L"", 15}};
  const auto rows = Rows(false);
  const auto at = [&rows](const std::wstring& row) {
    return std::find(rows.begin(), rows.end(), row) - rows.begin();
  };
  EXPECT_EQ(rows[1], L"[0] Gone  GPU lost (15)");
  EXPECT_EQ(rows[2], L"Serial Number        0320");
  EXPECT_EQ(rows[at(L"[1] No permission (4)") + 1], L"[2] ");
  EXPECT_EQ(std::count(rows.begin(), rows.end(), L"Serial Number        0321"), 0);
  EXPECT_LT(at(L"[7] Eighth"), at(L"[8] Ninth"));
  EXPECT_EQ(at(L"[8] Ninth") + 1, at(L"[9] GPU lost (15)"));
  EXPECT_EQ(std::count(rows.begin(), rows.end(), L"NVidia Devices       10"), 1);
}

TEST(GpuRequirements, ReadTopToBottom) {
  LoadTranslations(kEnglish);
  EXPECT_EQ(GpuRequirementRows(),
            (std::vector<std::wstring>{
                L"Requirements:", L"- Tarvik 64-bit edition", L"- NVidia Geforce GT420 or higher",
                L"- NVidia Drivers 285.62 or higher", L"- Not running in Safe Mode",
                L"Other brands will be supported soon.", L"No Supported Video Cards"}));
}

}  // namespace
}  // namespace tarvik
