#include "monitors/storage/free_space_trend.h"

#include <algorithm>
#include <cmath>

namespace tarvik {
namespace {

constexpr double kMsPerHour = 3'600'000.0;

}  // namespace

// A clock that went back starts the history again.
void FreeSpaceTrend::Add(int64_t tickMs, int64_t freeBytes) {
  if (!samples_.empty() && tickMs < samples_.back().TickMs)
    samples_.clear();
  if (!samples_.empty() && tickMs - samples_.back().TickMs < kSampleSpacingMs)
    return;
  samples_.push_back({tickMs, freeBytes});
  while (tickMs - samples_.front().TickMs > kWindowMs)
    samples_.pop_front();
}

std::optional<int> FreeSpaceTrend::HoursUntilFull() const {
  if (samples_.size() < 2 || samples_.back().TickMs - samples_.front().TickMs < kShortestFitMs)
    return std::nullopt;
  // Times from the first sample and bytes from the first sample's keep the sums exact enough.
  const Sample& first = samples_.front();
  const auto count = static_cast<double>(samples_.size());
  double meanTime = 0;
  double meanBytes = 0;
  for (const Sample& sample : samples_) {
    meanTime += static_cast<double>(sample.TickMs - first.TickMs) / count;
    meanBytes += static_cast<double>(sample.FreeBytes - first.FreeBytes) / count;
  }
  double covariance = 0;
  double variance = 0;
  for (const Sample& sample : samples_) {
    const double time = static_cast<double>(sample.TickMs - first.TickMs) - meanTime;
    covariance += time * (static_cast<double>(sample.FreeBytes - first.FreeBytes) - meanBytes);
    variance += time * time;
  }
  const double bytesPerMs = covariance / variance;
  if (!(bytesPerMs < 0))
    return std::nullopt;
  const double hours = static_cast<double>(samples_.back().FreeBytes) / -bytesPerMs / kMsPerHour;
  if (!(hours <= kMostHours))
    return std::nullopt;
  return std::max(1, static_cast<int>(std::lround(hours)));
}

}  // namespace tarvik
