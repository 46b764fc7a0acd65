#pragma once

#include <cstdint>

#include "monitors/ping/echo_engine.h"
#include "monitors/ping/ping_host.h"

namespace tarvik {

// What a cycle found: hosts that replied, and active hosts that did not.
struct CycleTally {
  int Up = 0;
  int Down = 0;
};

// The statistics pass of a cycle whose echoes are all back: each active host the cycle sent to
// takes its reply (Time, -1 when unanswered, TTL and TOS) into its counts and extremes and gains a
// sample stamped `now`; each paused host gains a paused sample; an active host the cycle did not
// send to (added or resumed meanwhile) waits for the next cycle. Counters stop at their top.
CycleTally TallyCycle(PingList& hosts, const EchoCycle& cycle, int32_t now);

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
