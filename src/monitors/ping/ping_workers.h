#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

#include "core/guarded.h"
#include "monitors/ping/ping_host.h"
#include "platform/ping.h"

namespace tarvik {

// The ping list and the place of the next host a worker takes. Workers hold the lock only to
// take a host and to write its result, never while an echo waits; the coordinator changes the
// list only while no worker of a cycle runs.
struct PingListState {
  PingList Hosts;
  size_t NextHostIndex = 0;
};
using SharedPingList = Guarded<PingListState>;

// One worker: takes the next active host, pings it outside the lock, writes its Time (-1 when
// unanswered), TTL and TOS back, and goes on until no host is left. A result goes back only to
// the host it belongs to, so a list changed meanwhile (a worker left behind at shut-down) is not
// written wrong.
void RunPingWorker(SharedPingList& list, platform::IcmpEcho& icmp, int timeoutMs);

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
