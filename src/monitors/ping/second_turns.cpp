#include "monitors/ping/second_turns.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr int64_t kMsPerSecond = 1'000;

}  // namespace

void SecondTurns::Anchor(int64_t second, int64_t tick) {
  known_ = true;
  anchorSecond_ = second;
  anchorTick_ = tick;
}

void SecondTurns::Note(int64_t second, int64_t tick) {
  if (!known_ && lastSecond_ && *lastSecond_ != second)
    Anchor(second, tick);
  lastSecond_ = second;
}

std::optional<int64_t> SecondTurns::Begins(int64_t second) const {
  if (!known_)
    return std::nullopt;
  return anchorTick_ + (second - anchorSecond_) * kMsPerSecond;
}

void SecondTurns::Caught(int64_t second, int64_t tick) {
  Anchor(second, tick);
  leadMs_ = kFirstLeadMs;
}

void SecondTurns::Missed(int64_t second, int64_t tick) {
  Anchor(second, tick);
  leadMs_ = std::min(leadMs_ * 2, kMostLeadMs);
}

}  // namespace tarvik
