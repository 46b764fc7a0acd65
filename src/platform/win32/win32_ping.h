#pragma once

#include "platform/ping.h"
#include "platform/win32/win32_libraries.h"

namespace tarvik::win32 {

// Echo requests through the IP Helper's ICMP functions; each call opens its own ICMP handle, so
// any number of threads may ping at once.
class Win32IcmpEcho final : public platform::IcmpEcho {
 public:
  [[nodiscard]] platform::EchoReply Echo(uint32_t address, int timeoutMs) override;
};

// Names through the DNS client library the program loaded at start (never by a bare name):
// the first record of an A query decides; a CNAME is followed to its target.
class Win32NameLookup final : public platform::NameLookup {
 public:
  explicit Win32NameLookup(const Win32Libraries& libraries) : libraries_(libraries) {}
  [[nodiscard]] uint32_t LookUpIPv4(const std::wstring& name) override;

 private:
  const Win32Libraries& libraries_;
};

}  // namespace tarvik::win32
