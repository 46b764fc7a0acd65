#pragma once

#include <cstdint>
#include <deque>
#include <optional>

namespace tarvik {

// The free bytes of one drive over the last half hour, kept at most one sample every 15 s, and
// the straight line through them by least squares. When the line falls, it tells the hours until
// it reaches zero; over less than 10 minutes of samples it tells nothing, so one large copy does
// not predict a full disk.
class FreeSpaceTrend {
 public:
  static constexpr int64_t kSampleSpacingMs = 15'000;
  static constexpr int64_t kWindowMs = 30 * 60'000;
  static constexpr int64_t kShortestFitMs = 10 * 60'000;
  static constexpr int kMostHours = 9'999;

  void Add(int64_t tickMs, int64_t freeBytes);
  void Clear() { samples_.clear(); }

  // Whole hours, at least 1, from the last sample until the fitted line reaches no free bytes;
  // none when the samples span less than 10 minutes, the line does not fall, or the time is
  // beyond 9,999 hours.
  [[nodiscard]] std::optional<int> HoursUntilFull() const;

 private:
  struct Sample {
    int64_t TickMs;
    int64_t FreeBytes;
  };
  std::deque<Sample> samples_;
};

}  // namespace tarvik
