#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "monitors/system/processor_load.h"

namespace tarvik {
namespace {

TEST(ProcessorLoad, LoadPerProcessorAndAverage) {
  // Kernel includes idle: processor 0 busy 250 of 1000, processor 1 fully busy.
  const std::vector<ProcessorTimes> before{{1000, 2000, 500}, {0, 100, 100}};
  const std::vector<ProcessorTimes> after{{1750, 2900, 600}, {0, 400, 800}};
  const std::optional<ProcessorLoads> loads = LoadsBetween(before, after);
  ASSERT_TRUE(loads);
  EXPECT_EQ(loads->Percent, (std::vector<double>{25.0, 100.0}));
  EXPECT_DOUBLE_EQ(loads->Average, 62.5);
}

TEST(ProcessorLoad, GuardsTimesThatDoNotMoveForward) {
  const std::vector<ProcessorTimes> start{{500, 1000, 1000}, {500, 1000, 1000}};
  const struct {
    const char* Name;
    std::vector<ProcessorTimes> After;
    std::optional<std::vector<double>> Percent;
  } cases[] = {
      {"NoTimePassed", start, std::nullopt},
      {"CountersWentBack", {{400, 900, 900}, {400, 900, 900}}, std::nullopt},
      {"OneStalledProcessorCountsIdle",
       {{500, 1000, 1000}, {500, 1500, 1500}},
       std::vector<double>{0.0, 100.0}},
      {"IdleAheadOfKernelIsNeverNegative",
       {{2000, 1100, 1000}, {600, 1100, 1000}},
       std::vector<double>{0.0, 0.0}},
      {"IdleThatWentBackIsNotAFullLoad",
       {{100, 1500, 1000}, {900, 1500, 1000}},
       std::vector<double>{0.0, 20.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::optional<ProcessorLoads> loads = LoadsBetween(start, c.After);
    ASSERT_EQ(loads.has_value(), c.Percent.has_value());
    if (loads) {
      EXPECT_EQ(loads->Percent, *c.Percent);
    }
  }
  EXPECT_FALSE(LoadsBetween(start, {start[0]}));  // a processor came or went
}

TEST(ProcessorLoad, SeparateIdleSourceReplacesIdleTimes) {
  const std::vector<ProcessorTimes> before =
      WithIdleTimes({{0, 1000, 0}, {0, 1000, 0}}, {100, 100});
  const std::vector<ProcessorTimes> after = WithIdleTimes({{0, 2000, 0}, {0, 2000, 0}}, {1100});
  const std::optional<ProcessorLoads> loads = LoadsBetween(before, after);
  ASSERT_TRUE(loads);
  // Processor 0 from the source: 1000 idle of 1000; processor 1 keeps its own idle time, which
  // went back from 100 to 0, so it counts as idle too.
  EXPECT_EQ(loads->Percent, (std::vector<double>{0.0, 0.0}));
}

}  // namespace
}  // namespace tarvik
