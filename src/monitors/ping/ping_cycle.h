#pragma once

#include <cstdint>

#include "monitors/ping/ping_host.h"

namespace tarvik {

// The expected cost of a cycle before the first one has run, and its base, in milliseconds.
inline constexpr int kFirstCycleBudgetMs = 3'500;
inline constexpr int kCycleBaseBudgetMs = 1'000;
inline constexpr int kMostPingWorkers = 32;

// Workers a cycle starts: one per 500 ms of expected waiting, plus one, never more than the
// hosts nor 32.
[[nodiscard]] int PingWorkerCount(int budgetMs, size_t hosts);

// What a cycle found: hosts that replied, active hosts that did not, and the expected cost of
// the next cycle (each reply its round-trip time + 50 ms, each loss 500 ms, on top of 1000 ms).
struct CycleTally {
  int Up = 0;
  int Down = 0;
  int BudgetMs = kCycleBaseBudgetMs;
};

// The statistics pass after the workers have written each active host's Time, TTL and TOS:
// counts and extremes of active hosts, a paused marker for paused ones, and one sample stamped
// `now` for every host.
CycleTally TallyCycle(PingList& hosts, int32_t now);

// Appends a sample, first dropping the oldest while the history is full.
void AppendSample(PSys& host, PValues sample);

// Down-indicator blinks after a cycle with lost hosts: the interval in seconds, at most 3.
[[nodiscard]] int BlinksAfterCycle(int down, int intervalSeconds);

}  // namespace tarvik

namespace tarvik {

// The settings keep the chosen interval and slow-response choice by their position.
[[nodiscard]] int PingIntervalAt(int position);
// The echo time-out at start: 2500 ms for intervals of 3 s or more, else the interval.
[[nodiscard]] int TimeoutAtStart(int intervalSeconds);
// The echo time-out after the user chose an interval: the interval below 2 s, else 2500 ms.
[[nodiscard]] int TimeoutAfterChoice(int intervalSeconds);
[[nodiscard]] int SlowThresholdOf(int position);

}  // namespace tarvik
