#include "monitors/ping/ping_cycle.h"

#include <algorithm>
#include <limits>

#include "core/fixed_lists.h"

namespace tarvik {
namespace {

constexpr int kMostBlinks = 3;

void CountUp(int32_t& counter) {
  if (counter < std::numeric_limits<int32_t>::max())
    ++counter;
}

void TallyActive(PSys& host, const platform::EchoReply& reply, int32_t now, CycleTally& tally) {
  host.Time = reply.Answered ? std::max(reply.RoundTripMs, 0) : kSampleNoReply;
  host.PTTL = reply.Ttl;
  host.PTOS = reply.Tos;
  CountUp(host.Sent);
  if (host.Time != kSampleNoReply) {
    ++tally.Up;
    if (host.Wors < host.Time || host.Wors == -1)
      host.Wors = host.Time;
    if (host.Time < host.Best || host.Best == -1)
      host.Best = host.Time;
    CountUp(host.Recv);
    host.Last = 1;
  } else {
    CountUp(host.Lost);
    if (host.Last != -1)
      host.Down = now;
    host.Last = -1;
    ++tally.Down;
  }
  AppendSample(host, {.S = now, .T = host.Time});
}

}  // namespace

CycleTally TallyCycle(PingList& hosts, const EchoCycle& cycle, int32_t now) {
  CycleTally tally;
  for (PSys& host : hosts) {
    if (host.Actv != 1)
      AppendSample(host, {.S = now, .T = kSamplePaused});
    else if (const platform::EchoReply* reply = cycle.ReplyFor(static_cast<uint32_t>(host.Valu)))
      TallyActive(host, *reply, now, tally);
  }
  return tally;
}

void AppendSample(PSys& host, PValues sample) {
  while (host.PV.size() >= kMaxSamples)
    host.PV.pop_front();
  host.PV.push_back(sample);
}

int BlinksAfterCycle(int down, int intervalSeconds) {
  return down >= 1 ? std::min(intervalSeconds, kMostBlinks) : 0;
}

}  // namespace tarvik

namespace tarvik {
namespace {

constexpr int kLongestTimeoutMs = 2'500;

}  // namespace

int PingIntervalAt(int position) {
  return kPingIntervalChoices[std::clamp(position, 0, kPingIntervalCount - 1)];
}

int TimeoutAtStart(int intervalSeconds) {
  return intervalSeconds >= 3 ? kLongestTimeoutMs : intervalSeconds * 1000;
}

int TimeoutAfterChoice(int intervalSeconds) {
  return intervalSeconds < 2 ? intervalSeconds * 1000 : kLongestTimeoutMs;
}

int SlowThresholdOf(int position) {
  return (std::clamp(position, 0, kSlowChoiceCount - 1) + 1) * kSlowStepMs;
}

}  // namespace tarvik
