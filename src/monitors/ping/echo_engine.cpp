#include "monitors/ping/echo_engine.h"

#include <algorithm>

namespace tarvik {
namespace {

// A tag names the cycle in its high half and the echo's place in the cycle in its low half.
constexpr int kTagShift = 32;
constexpr uint64_t kPlaceMask = 0xFFFF'FFFFu;

}  // namespace

const platform::EchoReply* EchoCycle::ReplyFor(uint32_t address) const {
  const auto found = std::lower_bound(Replies.begin(), Replies.end(), address,
                                      [](const std::pair<uint32_t, platform::EchoReply>& entry,
                                         uint32_t wanted) { return entry.first < wanted; });
  return found != Replies.end() && found->first == address ? &found->second : nullptr;
}

bool EchoEngine::Start(const std::vector<uint32_t>& addresses, int timeoutMs) {
  if (cycles_.size() >= kMostCyclesInFlight)
    return false;
  Cycle& cycle = cycles_.emplace_back();
  cycle.Number = nextNumber_++;
  cycle.Addresses = addresses;
  cycle.Replies.resize(addresses.size());
  cycle.Done.resize(addresses.size());
  cycle.OverdueTick = clock_.TickMs() + timeoutMs + kLateCompletionMs;
  for (size_t place = 0; place < addresses.size(); ++place) {
    // A send the system refuses is a lost echo at once.
    if (echoes_.Send(addresses[place], timeoutMs, cycle.Number << kTagShift | place))
      ++cycle.Waiting;
    else
      cycle.Done[place] = true;
  }
  return true;
}

void EchoEngine::Complete(uint64_t tag, const platform::EchoReply& reply) {
  const uint64_t number = tag >> kTagShift;
  const size_t place = tag & kPlaceMask;
  // One that comes after its cycle was given up finds no cycle and is dropped.
  for (Cycle& cycle : cycles_) {
    if (cycle.Number != number || place >= cycle.Done.size() || cycle.Done[place])
      continue;
    cycle.Replies[place] = reply;
    cycle.Done[place] = true;
    --cycle.Waiting;
    return;
  }
}

int EchoEngine::MsUntilOverdue() const {
  if (cycles_.empty())
    return 0;
  return static_cast<int>(std::max<int64_t>(cycles_.front().OverdueTick - clock_.TickMs(), 0));
}

// The waits count themselves too, so that a clock that stands still cannot hold the caller.
void EchoEngine::Wait(int waitMs) {
  if (cycles_.empty())
    return;
  const int64_t end = clock_.TickMs() + waitMs;
  int waited = 0;
  for (int64_t now = clock_.TickMs(); now < end && waited < 2 * waitMs && !HasFinished();
       now = clock_.TickMs()) {
    const int slice = std::max(static_cast<int>(std::min<int64_t>(end - now, MsUntilOverdue())), 1);
    echoes_.Collect(
        slice, [this](uint64_t tag, const platform::EchoReply& reply) { Complete(tag, reply); });
    waited += slice;
  }
}

bool EchoEngine::HasFinished() const {
  return !cycles_.empty() &&
         (cycles_.front().Waiting == 0 || clock_.TickMs() >= cycles_.front().OverdueTick);
}

std::optional<EchoCycle> EchoEngine::TakeFinished() {
  // Completions that came in while the coordinator was busy are taken first.
  echoes_.Collect(0,
                  [this](uint64_t tag, const platform::EchoReply& reply) { Complete(tag, reply); });
  if (!HasFinished())
    return std::nullopt;
  Cycle& cycle = cycles_.front();
  EchoCycle finished;
  finished.Replies.reserve(cycle.Addresses.size());
  for (size_t place = 0; place < cycle.Addresses.size(); ++place)
    finished.Replies.emplace_back(cycle.Addresses[place], cycle.Replies[place]);
  std::sort(finished.Replies.begin(), finished.Replies.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  cycles_.pop_front();
  return finished;
}

}  // namespace tarvik
