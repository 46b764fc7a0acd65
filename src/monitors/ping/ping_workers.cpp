#include "monitors/ping/ping_workers.h"

#include <chrono>

namespace tarvik {

void PrepareCycle(const PingList& hosts, int timeoutMs, PingCycle& cycle) {
  for (size_t place = 0; place < hosts.size(); ++place) {
    if (hosts[place].Actv == 1)
      cycle.Targets.push_back({place, hosts[place].Valu});
  }
  cycle.Replies.resize(cycle.Targets.size());
  cycle.TimeoutMs = timeoutMs;
}

void RunPingWorker(PingCycle& cycle, platform::IcmpEcho& icmp) {
  for (size_t next = cycle.Next++; next < cycle.Targets.size(); next = cycle.Next++) {
    cycle.Replies[next] =
        icmp.Echo(static_cast<uint32_t>(cycle.Targets[next].Address), cycle.TimeoutMs);
  }
}

void ApplyReplies(const PingCycle& cycle, PingList& hosts) {
  for (size_t slot = 0; slot < cycle.Targets.size(); ++slot) {
    const PingCycle::Target& target = cycle.Targets[slot];
    if (target.Place >= hosts.size() || hosts[target.Place].Valu != target.Address)
      continue;
    const platform::EchoReply& reply = cycle.Replies[slot];
    PSys& host = hosts[target.Place];
    host.Time = reply.Answered ? reply.RoundTripMs : kSampleNoReply;
    host.PTTL = reply.Ttl;
    host.PTOS = reply.Tos;
  }
}

void WorkerCount::Started() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++running_;
}

void WorkerCount::Ended() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --running_;
  }
  ended_.notify_all();
}

bool WorkerCount::WaitForAll(const std::function<bool()>& stopping, int pollMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  while (running_ > 0) {
    if (stopping())
      return false;
    ended_.wait_for(lock, std::chrono::milliseconds(pollMs));
  }
  return true;
}

}  // namespace tarvik
