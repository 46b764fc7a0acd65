#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tarvik::platform {

// What one echo request brought back. A request that got no good reply (time-out, unreachable,
// any error) is not answered; its TTL and TOS are what the reply buffer held all the same.
struct EchoReply {
  bool Answered = false;
  int RoundTripMs = 0;
  int Ttl = 0;
  int Tos = 0;
};

// ICMP echo requests to IPv4 addresses given as the system keeps them (first octet in the lowest
// byte), all in flight at once from one thread: Send returns at once, and each reply comes back
// through a later Collect on the same thread, within its echo's time-out. The reply buffer of an
// echo stays alive until the system has completed it, whatever the caller does meanwhile.
class IcmpEchoes {
 public:
  using Completed = std::function<void(uint64_t tag, const EchoReply& reply)>;

  virtual ~IcmpEchoes() = default;
  // Starts an echo; `tag` names it when it completes. False when the system refused it at once:
  // no reply comes for it.
  [[nodiscard]] virtual bool Send(uint32_t address, int timeoutMs, uint64_t tag) = 0;
  // Waits up to `waitMs` for an echo to complete, then hands every completed one to `completed`
  // (on the calling thread, the one that sent them).
  virtual void Collect(int waitMs, const Completed& completed) = 0;
  // Echoes sent and not yet handed to a Collect.
  [[nodiscard]] virtual size_t InFlight() const = 0;
};

// Turns a host name into an IPv4 address (first octet in the lowest byte); 0 when the name has
// none or no name service is there.
class NameLookup {
 public:
  virtual ~NameLookup() = default;
  [[nodiscard]] virtual uint32_t LookUpIPv4(const std::wstring& name) = 0;
};

}  // namespace tarvik::platform
