#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

#include "monitors/ping/ping_list_state.h"
#include "platform/ping.h"

namespace tarvik {

// One cycle's echoes: the active hosts' places and addresses, taken from the list before the
// cycle, and a reply slot for each. Workers take the next host by a counter and write only their
// own slots, so no lock is taken per echo and none is held while an echo waits; the coordinator
// writes the replies into the list once every worker has ended. A worker left behind at
// shut-down writes into this record, never into the list.
struct PingCycle {
  struct Target {
    size_t Place = 0;  // index in the list
    int32_t Address = 0;
  };
  std::vector<Target> Targets;
  std::vector<platform::EchoReply> Replies;
  std::atomic<size_t> Next = 0;
  int TimeoutMs = 0;
};

// The active hosts of the list, in list order, with a reply slot each.
void PrepareCycle(const PingList& hosts, int timeoutMs, PingCycle& cycle);
// One worker: pings hosts of the cycle until none is left.
void RunPingWorker(PingCycle& cycle, platform::IcmpEcho& icmp);
// Writes each reply into its host: Time (-1 when unanswered), TTL and TOS. A host that is no
// longer at its place with its address is left alone.
void ApplyReplies(const PingCycle& cycle, PingList& hosts);

// Counts the workers of a cycle that have not ended; the coordinator waits for the count to
// reach zero.
class WorkerCount {
 public:
  void Started();
  void Ended();
  // Waits until every started worker ended; false when `stopping` turned true first (checked
  // every `pollMs`).
  bool WaitForAll(const std::function<bool()>& stopping, int pollMs);

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  int running_ = 0;
};

}  // namespace tarvik
