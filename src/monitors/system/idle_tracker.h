#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace tarvik {

// " 59s ", " 1m 0s ", " 2h 0m 5s ", " 1d 0h 0m 0s ": leading and trailing blank.
[[nodiscard]] std::wstring IdleText(int64_t seconds);

// What the Idle meter remembers from one second to the next.
struct IdleState {
  std::wstring PreviousText;        // the text last taken
  int64_t PreviousSeconds = 0;      // idle seconds at the previous sample
  std::deque<std::wstring> Recent;  // ended idle periods, newest first, at most four
};

struct IdleUpdate {
  bool Changed = false;      // the meter takes MeterText and the title summary follows it
  bool Redraw = false;       // draw the meter now
  bool ForceRedraw = false;  // input arrived: the "=" text is drawn whatever was drawn before
  std::wstring MeterText;
  std::optional<std::wstring> RecentText;     // the recent-idle list, when it changed
  std::optional<std::wstring> LongIdleEvent;  // "Long Idle: 1h 2m 3s "
};

// One sample of idle seconds. While idle grows the meter is redrawn only when its first four
// characters change, so a long idle does not redraw every second. When idle falls back, the
// period that ended is shown as "=" and its length, goes first into the recent list, and makes a
// long-idle event when it lasted at least `longIdleSeconds` (0 or less turns the event off).
[[nodiscard]] IdleUpdate TrackIdle(IdleState& state, int64_t seconds, int64_t longIdleSeconds);

}  // namespace tarvik
