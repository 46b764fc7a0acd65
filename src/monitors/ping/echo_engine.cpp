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

bool EchoEngine::Start(const std::vector<uint32_t>& addresses, int timeoutMs, int32_t second) {
  if (cycles_.size() >= kMostCyclesInFlight)
    return false;
  Cycle& cycle = cycles_.emplace_back();
  cycle.Number = nextNumber_++;
  cycle.Addresses = addresses;
  cycle.Replies.resize(addresses.size());
  cycle.Done.resize(addresses.size());
  cycle.TimeoutMs = timeoutMs;
  cycle.Second = second;
  SendSlice();
  return true;
}

// Sends the echoes not yet sent, oldest cycle first, for up to kSendSliceMs (at least one).
void EchoEngine::SendSlice() {
  const int64_t end = clock_.TickMs() + kSendSliceMs;
  bool first = true;
  for (Cycle& cycle : cycles_) {
    while (cycle.Sent < cycle.Addresses.size() && (first || clock_.TickMs() < end)) {
      const size_t place = cycle.Sent++;
      first = false;
      // A send the system refuses is a lost echo at once.
      if (echoes_.Send(cycle.Addresses[place], cycle.TimeoutMs, cycle.Number << kTagShift | place))
        ++cycle.Waiting;
      else
        cycle.Done[place] = true;
    }
    if (cycle.Sent < cycle.Addresses.size())
      return;
    // Counted from the last send: a long list takes a while to send.
    if (cycle.OverdueTick == 0)
      cycle.OverdueTick = clock_.TickMs() + cycle.TimeoutMs + kLateCompletionMs;
  }
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
  const Cycle& oldest = cycles_.front();
  if (oldest.OverdueTick == 0)
    return kSendSliceMs;
  return static_cast<int>(std::max<int64_t>(oldest.OverdueTick - clock_.TickMs(), 0));
}

// The waits count themselves too, so that a clock that stands still cannot hold the caller.
void EchoEngine::Wait(int waitMs) {
  if (cycles_.empty())
    return;
  const int64_t end = clock_.TickMs() + waitMs;
  int waited = 0;
  for (int64_t now = clock_.TickMs(); now < end && waited < 2 * waitMs && !HasFinished();
       now = clock_.TickMs()) {
    SendSlice();
    // While echoes wait to be sent, completions are only taken, not waited for.
    const bool sending = cycles_.back().Sent < cycles_.back().Addresses.size();
    const int slice =
        sending ? 0 : std::max(static_cast<int>(std::min<int64_t>(end - now, MsUntilOverdue())), 1);
    echoes_.Collect(
        slice, [this](uint64_t tag, const platform::EchoReply& reply) { Complete(tag, reply); });
    waited += slice;
  }
}

// Only a wait that brought nothing counts against `waitMs`, besides the clock, so that a clock
// that stands still cannot hold the caller while completions come in all the time.
void EchoEngine::Land(int waitMs) {
  cycles_.clear();
  const int64_t end = clock_.TickMs() + waitMs;
  int waitedIdle = 0;
  for (int64_t left = waitMs; echoes_.InFlight() > 0 && left > 0 && waitedIdle < waitMs;
       left = end - clock_.TickMs()) {
    const int slice = static_cast<int>(std::min<int64_t>(left, kSendSliceMs));
    bool any = false;
    echoes_.Collect(slice, [&any](uint64_t, const platform::EchoReply&) { any = true; });
    if (!any)
      waitedIdle += slice;
  }
}

bool EchoEngine::HasFinished() const {
  if (cycles_.empty())
    return false;
  const Cycle& oldest = cycles_.front();
  return oldest.Sent == oldest.Addresses.size() &&
         (oldest.Waiting == 0 || clock_.TickMs() >= oldest.OverdueTick);
}

std::optional<EchoCycle> EchoEngine::TakeFinished() {
  // Completions that came in while the coordinator was busy are taken first.
  echoes_.Collect(0,
                  [this](uint64_t tag, const platform::EchoReply& reply) { Complete(tag, reply); });
  if (!HasFinished())
    return std::nullopt;
  Cycle& cycle = cycles_.front();
  EchoCycle finished;
  finished.Second = cycle.Second;
  finished.Replies.reserve(cycle.Addresses.size());
  for (size_t place = 0; place < cycle.Addresses.size(); ++place)
    finished.Replies.emplace_back(cycle.Addresses[place], cycle.Replies[place]);
  std::sort(finished.Replies.begin(), finished.Replies.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  cycles_.pop_front();
  return finished;
}

}  // namespace tarvik
