#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/ping.h"

namespace tarvik {

// A cycle's echoes once they are all back: the addresses sent to and a reply for each
// (unanswered where the echo was lost, refused by the system or overdue).
struct EchoCycle {
  std::vector<std::pair<uint32_t, platform::EchoReply>> Replies;  // by address, ascending
  // The second the cycle began: its samples carry it, however late the cycle is taken in.
  int32_t Second = 0;

  // The reply for an address; nothing when the cycle did not send to it.
  [[nodiscard]] const platform::EchoReply* ReplyFor(uint32_t address) const;
};

// Sends every echo of a cycle at once and collects the replies on the thread that sent them (the
// ping coordinator's), while that thread rests between its passes: a cycle lasts one time-out
// however many hosts are silent, and no thread waits per echo. Where a send takes the system a
// while (under Wine, about a millisecond), a long list goes out in slices of kSendSliceMs, so
// that the coordinator's passes go on between them. When the time-out is longer than the
// interval, cycles overlap; they finish in the order they started. An echo whose completion has
// not come a second after its time-out counts as lost, so that no completion the system loses can
// hold a cycle.
class EchoEngine {
 public:
  static constexpr size_t kMostCyclesInFlight = 4;
  static constexpr int kLateCompletionMs = 1'000;
  static constexpr int kSendSliceMs = 50;

  EchoEngine(platform::IcmpEchoes& echoes, const platform::Clock& clock)
      : echoes_(echoes), clock_(clock) {}

  // Starts a cycle of one echo to each address, sending its first slice at once (a cycle without
  // any finishes at once); false, and nothing sent, while kMostCyclesInFlight cycles are out.
  bool Start(const std::vector<uint32_t>& addresses, int timeoutMs, int32_t second);
  // Sends what is left to send, a slice at a time, and collects completions, for up to `waitMs`;
  // returns sooner once the oldest cycle has finished, and at once when no cycle is out.
  void Wait(int waitMs);
  // The oldest cycle, once it has finished.
  [[nodiscard]] std::optional<EchoCycle> TakeFinished();
  [[nodiscard]] bool HasFinished() const;
  [[nodiscard]] size_t CyclesInFlight() const { return cycles_.size(); }
  // Gives up every cycle, sends nothing more, and waits up to `waitMs` for the echoes the system
  // still holds, dropping their replies. An echo still out when its thread or process ends is
  // cancelled, and Wine's network device can deadlock cancelling one while another completes:
  // from then on no program of that Wine session gets an echo or an adapter table again.
  void Land(int waitMs);

 private:
  struct Cycle {
    uint64_t Number = 0;
    std::vector<uint32_t> Addresses;
    std::vector<platform::EchoReply> Replies;
    std::vector<bool> Done;
    size_t Sent = 0;  // echoes sent so far, in list order
    size_t Waiting = 0;
    int TimeoutMs = 0;
    int32_t Second = 0;
    int64_t OverdueTick = 0;  // set once the last echo is sent
  };

  void SendSlice();
  void Complete(uint64_t tag, const platform::EchoReply& reply);
  [[nodiscard]] int MsUntilOverdue() const;

  platform::IcmpEchoes& echoes_;
  const platform::Clock& clock_;
  std::deque<Cycle> cycles_;
  uint64_t nextNumber_ = 1;
};

}  // namespace tarvik
