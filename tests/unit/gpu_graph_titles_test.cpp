#include <gtest/gtest.h>

#include "text/translation.h"
#include "ui/gpu_graphs.h"

namespace tarvik {
namespace {

TEST(GpuGraphTitles, ShowTheSelectedCardsValuesOrNoData) {
  LoadTranslations(kEnglish);
  GpuDevice card;
  card.Facts.MaxClocks[kGraphicsClock].Value = 2000;
  card.Facts.MaxClocks[kMemoryClock].Value = 7000;
  card.Facts.PowerLimitDefault.Value = 200'000;
  card.Sample.Utilization.Value = {37, 12};
  card.Sample.Fan.Value = 41;
  card.Sample.Clocks[kGraphicsClock].Value = 1500;
  card.Sample.Clocks[kMemoryClock].Value = 5000;
  card.Sample.PowerMilliwatts.Value = 120'500;
  const std::pair<const wchar_t*, const wchar_t*> expected[kGpuGraphsShown] = {
      {L"GPU Utilization", L"37%"},
      {L"Memory Utilization", L"12%"},
      {L"Fan Speed", L"41%"},
      {L"GPU Clock", L"1500MHz (75%)"},
      {L"Memory Clock", L"5000MHz (71%)"},
      {L"Power Usage", L"120W (60%)"}};
  for (int graph = 0; graph < kGpuGraphsShown; ++graph) {
    const GraphTitles titles = GpuGraphTitles(graph, card);
    EXPECT_EQ(titles.First, expected[graph].first);
    EXPECT_EQ(titles.Second, expected[graph].second);
  }
  EXPECT_EQ(GpuGraphTitles(0, std::nullopt).Second, L"No Data");
  card.Sample.Utilization.Status = 3;
  EXPECT_EQ(GpuGraphTitles(5, card).Second, L"No Data");
}

TEST(GpuGraphTitles, TheTemperatureGraphShowsDegreesOrNoData) {
  LoadTranslations(kEnglish);
  GpuDevice card;
  card.Sample.Temperature = {61, 0};
  EXPECT_EQ(GpuTemperatureTitles(card).First, L"GPU Temperature");
  EXPECT_EQ(GpuTemperatureTitles(card).Second, L"61C");
  card.Sample.Temperature.Status = platform::nvml::kErrorGpuIsLost;
  EXPECT_EQ(GpuTemperatureTitles(card).Second, L"No Data");
  EXPECT_EQ(GpuTemperatureTitles(std::nullopt).Second, L"No Data");
}

}  // namespace
}  // namespace tarvik
