#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "fakes/fake_system.h"
#include "monitors/system/speed_measurement.h"

namespace tarvik {
namespace {

using Reading = platform::TimestampReading;

TEST(SpeedMeasurement, RetriesUntilOneProcessorCountsForwardThenRoundsToTheNearestFive) {
  const struct {
    const char* Name;
    std::deque<Reading> Readings;
    std::optional<int64_t> Mhz;
    int Read;
  } cases[] = {
      {"WholeStep", {{3, 1000}, {3, 1000 + 240'000'000}}, 2400, 2},
      {"JustBelowAStep", {{3, 0}, {3, 239'999'999}}, 2400, 2},
      {"TwoAboveAStep", {{3, 0}, {3, 240'200'000}}, 2400, 2},
      {"ThreeAboveAStep", {{3, 0}, {3, 240'300'000}}, 2405, 2},
      {"CounterWrappedRound", {{3, 0xF0000000u}, {3, 0xF0000000u + 300'000'000u}}, 3000, 2},
      {"MovedToAnotherProcessor", {{3, 0}, {4, 240'000'000}, {4, 0}, {4, 100'000'000}}, 1000, 4},
      {"CounterStoodStill", {{3, 500}, {3, 500}, {3, 0}, {3, 100'000'000}}, 1000, 4},
      {"CounterWentBack", {{3, 500}, {3, 400}, {3, 0}, {3, 100'000'000}}, 1000, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    fakes::FakeProcessors processors;
    processors.Timestamps = c.Readings;
    int pauses = 0;
    const auto measured = MeasureSpeedMhz(processors, [&pauses](int milliseconds) {
      EXPECT_EQ(milliseconds, kSpeedPauseMs);
      ++pauses;
      return false;
    });
    EXPECT_EQ(measured, c.Mhz);
    EXPECT_EQ(processors.TimestampsRead, c.Read);
    EXPECT_EQ(pauses, c.Read / 2);
  }
}

TEST(SpeedMeasurement, GivesUpAfterItsLastTryOrWhenTheProgramStops) {
  fakes::FakeProcessors processors;
  processors.Timestamps = std::deque<Reading>(2 * kMaxSpeedReadings + 2, Reading{1, 7});
  EXPECT_EQ(MeasureSpeedMhz(processors, [](int) { return false; }), std::nullopt);
  EXPECT_EQ(processors.TimestampsRead, 2 * kMaxSpeedReadings);

  fakes::FakeProcessors stopping;
  EXPECT_EQ(MeasureSpeedMhz(stopping, [](int) { return true; }), std::nullopt);
  EXPECT_EQ(stopping.TimestampsRead, 1);
}

}  // namespace
}  // namespace tarvik
