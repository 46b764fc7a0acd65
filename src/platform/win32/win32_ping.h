#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/ping.h"
#include "platform/win32/win32_libraries.h"

namespace tarvik::win32 {

// Echo requests through the IP Helper's ICMP functions, each sent with IcmpSendEcho2 and an APC,
// so that any number are in flight at once from the thread that sends them; the APCs run on that
// thread while it waits in Collect. Each echo owns its reply buffer until its APC has read it.
// Destroy it only on the sending thread, or with no echo in flight.
class Win32IcmpEchoes final : public platform::IcmpEchoes {
 public:
  Win32IcmpEchoes();
  ~Win32IcmpEchoes() override;
  Win32IcmpEchoes(const Win32IcmpEchoes&) = delete;
  Win32IcmpEchoes& operator=(const Win32IcmpEchoes&) = delete;

  [[nodiscard]] bool Send(uint32_t address, int timeoutMs, uint64_t tag) override;
  void Collect(int waitMs, const Completed& completed) override;
  [[nodiscard]] size_t InFlight() const override { return inFlight_ + completed_.size(); }

 private:
  HANDLE icmp_;
  size_t inFlight_ = 0;
  // Filled by the APCs, on the sending thread.
  std::vector<std::pair<uint64_t, platform::EchoReply>> completed_;
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
