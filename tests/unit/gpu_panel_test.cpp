#include "monitors/gpu/gpu_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

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
    return GpuDetailRows(system_, devices_, showErrors, 1'709'993'107);
  }
  NvmlSystem system_{12040, L"551.23", L"12.551.23"};
  GpuDevices devices_ = GpuDevices(2);
};

TEST_F(GpuDetailTest, TheFirstCardOnTopAndTheVersionsAtTheBottom) {
  devices_[0].Facts.Name.Value = L"First";
  devices_[1].Facts.Name.Value = L"Second";
  devices_[1].Facts.Serial = {L"0324", 0};
  devices_[1].Facts.Brand = {9, 0};
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
