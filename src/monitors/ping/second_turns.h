#pragma once

#include <cstdint>
#include <optional>

namespace tarvik {

// Where the local clock's seconds turn over, as a tick of the monotonic clock: a cycle falls due
// as a second begins, and the coordinator wakes just before that instead of up to a pass late.
// The estimate is checked at every turn the coordinator waits for: caught while it watches, the
// turn fixes the estimate; already past when it wakes, it moves the estimate earlier and the
// next watch starts earlier (twice as early each time, up to half a second).
class SecondTurns {
 public:
  static constexpr int kFirstLeadMs = 30;
  static constexpr int kMostLeadMs = 500;

  // The second `second` was seen to begin at `tick`.
  void Anchor(int64_t second, int64_t tick);
  // The clock read `second` at `tick`: without an estimate, a turn seen between two readings
  // gives one.
  void Note(int64_t second, int64_t tick);
  void Forget() { known_ = false; }
  // The estimated tick at which `second` begins; nothing without an estimate.
  [[nodiscard]] std::optional<int64_t> Begins(int64_t second) const;
  // How long before the estimated turn the watch starts.
  [[nodiscard]] int LeadMs() const { return leadMs_; }
  // The watched turn came while watching, or was already past when the watch began.
  void Caught(int64_t second, int64_t tick);
  void Missed(int64_t second, int64_t tick);

 private:
  bool known_ = false;
  int64_t anchorSecond_ = 0;
  int64_t anchorTick_ = 0;
  std::optional<int64_t> lastSecond_;
  int leadMs_ = kFirstLeadMs;
};

}  // namespace tarvik
