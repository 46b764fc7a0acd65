#pragma once

#include <cstdint>
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

// ICMP echo to an IPv4 address given as the system keeps it (first octet in the lowest byte).
// Any thread may call it; a call waits at most `timeoutMs` for the reply.
class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  [[nodiscard]] virtual EchoReply Echo(uint32_t address, int timeoutMs) = 0;
};

// Turns a host name into an IPv4 address (first octet in the lowest byte); 0 when the name has
// none or no name service is there.
class NameLookup {
 public:
  virtual ~NameLookup() = default;
  [[nodiscard]] virtual uint32_t LookUpIPv4(const std::wstring& name) = 0;
};

}  // namespace tarvik::platform
