#include <gtest/gtest.h>

#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/graph_titles.h"

namespace tarvik {
namespace {

SystemReadings SomeReadings() {
  SystemReadings readings;
  readings.PhysicalPercent = 61;
  readings.PageFilePercent = 2;
  readings.MeanMhz = 2100;
  readings.SpeedPercent = 70;
  readings.AverageLoad = 37;
  readings.Processors = {{L"CPU 0", 2400, 75}};
  readings.ReadKbPerSecond = 4;
  readings.WriteKbPerSecond = 2048;
  return readings;
}

TEST(GraphTitles, EachSystemGraphShowsItsOwnValue) {
  const struct {
    int Graph;
    std::wstring Second;
    std::wstring Third;
  } cases[] = {
      {gadget::PhysicalGraph, L"61%", L""},
      {gadget::PageFileGraph, L"2%", L""},
      {gadget::ProcessorSpeedGraph, L"2100MHz", L"(70%)"},
      {gadget::AverageLoadGraph, L"37%", L""},
      {gadget::DriveReadGraph, L"4KB/s", L""},
      {gadget::DriveWriteGraph, L"2048KB/s", L""},
      {gadget::NetworkSendGraph, L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Graph);
    const GraphValues values = SystemGraphValues(c.Graph, SomeReadings());
    EXPECT_EQ(values.Second, c.Second);
    EXPECT_EQ(values.Third, c.Third);
  }
}

TEST(GraphTitles, ProcessorGraphsDropTheSpeedPastEightyProcessors) {
  LoadTranslations(kEnglish);
  const struct {
    int Processor;
    int Count;
    std::wstring Second;
    std::wstring Third;
    std::wstring Label;
  } cases[] = {
      {0, 80, L"2400MHz", L"75%", L"CPU 0"},
      {0, 81, L"75%", L"", L"CPU 0"},
      {1, 16, L"", L"", L"CPU 01"},  // not read yet: its label alone
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Count);
    const GraphTitles titles = ProcessorGraphTitles(c.Processor, c.Count, SomeReadings());
    EXPECT_EQ(titles.First, c.Label);
    EXPECT_EQ(titles.Second, c.Second);
    EXPECT_EQ(titles.Third, c.Third);
  }
}

}  // namespace
}  // namespace tarvik
