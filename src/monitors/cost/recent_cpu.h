#pragma once

#include <cstdint>
#include <deque>

namespace tarvik {

// The program's own processor time (100 ns units) used over a stretch of wall time.
struct CpuSpan {
  uint64_t CpuTime = 0;
  int64_t WallMs = 0;
};

// The program's processor time over about the last 10 seconds, from readings of its running
// total: the span reaches back to the newest reading at least 10 s old, or to the oldest kept
// while the program is younger.
class RecentCpu {
 public:
  static constexpr int64_t kSpanMs = 10'000;

  void Add(int64_t tickMs, uint64_t cpuTime);
  [[nodiscard]] CpuSpan Span() const;

 private:
  struct Reading {
    int64_t TickMs = 0;
    uint64_t CpuTime = 0;
  };
  std::deque<Reading> readings_;
};

// Whether a span used more than `percent` of all the machine's processors.
[[nodiscard]] bool UsedMoreThan(const CpuSpan& span, int processors, int percent);

}  // namespace tarvik
