#include "monitors/ping/ping_cycle.h"

#include <algorithm>

#include "core/fixed_lists.h"

namespace tarvik {
namespace {

constexpr int kBudgetPerWorkerMs = 500;
constexpr int kReplyOverheadMs = 50;
constexpr int kLossCostMs = 500;
constexpr int kMostBlinks = 3;

void TallyActive(PSys& host, int32_t now, CycleTally& tally) {
  ++host.Sent;
  if (host.Time != kSampleNoReply) {
    ++tally.Up;
    tally.BudgetMs += host.Time + kReplyOverheadMs;
    if (host.Wors < host.Time || host.Wors == -1)
      host.Wors = host.Time;
    if (host.Time < host.Best || host.Best == -1)
      host.Best = host.Time;
    ++host.Recv;
    host.Last = 1;
  } else {
    ++host.Lost;
    tally.BudgetMs += kLossCostMs;
    if (host.Last != -1)
      host.Down = now;
    host.Last = -1;
    ++tally.Down;
  }
  AppendSample(host, {.S = now, .T = host.Time});
}

}  // namespace

int PingWorkerCount(int budgetMs, size_t hosts) {
  if (hosts == 0)
    return 0;
  const int most = static_cast<int>(std::min<size_t>(hosts, kMostPingWorkers));
  return std::clamp(budgetMs / kBudgetPerWorkerMs + 1, 1, most);
}

CycleTally TallyCycle(PingList& hosts, int32_t now) {
  CycleTally tally;
  for (PSys& host : hosts) {
    if (host.Actv != 1)
      AppendSample(host, {.S = now, .T = kSamplePaused});
    else
      TallyActive(host, now, tally);
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
