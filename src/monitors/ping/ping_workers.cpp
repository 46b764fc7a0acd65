#include "monitors/ping/ping_workers.h"

#include <chrono>
#include <optional>

namespace tarvik {
namespace {

struct TakenHost {
  size_t Index = 0;
  int32_t Address = 0;
};

std::optional<TakenHost> TakeNextActive(SharedPingList& list) {
  auto state = list.Lock();
  while (state->NextHostIndex < state->Hosts.size()) {
    const size_t index = state->NextHostIndex++;
    const PSys& host = state->Hosts[index];
    if (host.Actv == 1)
      return TakenHost{index, host.Valu};
  }
  return std::nullopt;
}

void WriteResult(SharedPingList& list, const TakenHost& taken, const platform::EchoReply& reply) {
  auto state = list.Lock();
  if (taken.Index >= state->Hosts.size() || state->Hosts[taken.Index].Valu != taken.Address)
    return;
  PSys& host = state->Hosts[taken.Index];
  host.Time = reply.Answered ? reply.RoundTripMs : kSampleNoReply;
  host.PTTL = reply.Ttl;
  host.PTOS = reply.Tos;
}

}  // namespace

void RunPingWorker(SharedPingList& list, platform::IcmpEcho& icmp, int timeoutMs) {
  while (const std::optional<TakenHost> taken = TakeNextActive(list)) {
    const platform::EchoReply reply = icmp.Echo(static_cast<uint32_t>(taken->Address), timeoutMs);
    WriteResult(list, *taken, reply);
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
