#include "monitors/system/speed_measurement.h"

namespace tarvik {
namespace {

constexpr int64_t kTicksPerMhz = 100'000;  // over 100 ms
constexpr int64_t kSpeedStep = 5;

}  // namespace

std::optional<int64_t> MeasureSpeedMhz(platform::Processors& processors, const Pause& pause) {
  for (int reading = 0; reading < kMaxSpeedReadings; ++reading) {
    const platform::TimestampReading before = processors.ReadTimestamp();
    if (pause(kSpeedPauseMs))
      return std::nullopt;
    const platform::TimestampReading after = processors.ReadTimestamp();
    // The low 32 bits wrap about once a second; as a signed difference they still count forward.
    const auto ticks = static_cast<int32_t>(after.Ticks - before.Ticks);
    if (before.ApicId != after.ApicId || ticks <= 0)
      continue;
    const int64_t mhz = ticks / kTicksPerMhz;
    // To the nearest step: adding a whole step first would show a 2400 MHz processor as 2405.
    return (mhz + kSpeedStep / 2) / kSpeedStep * kSpeedStep;
  }
  return std::nullopt;
}

}  // namespace tarvik
