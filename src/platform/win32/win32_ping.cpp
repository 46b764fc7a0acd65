#include "platform/win32/win32_ping.h"

#include <winsock2.h>
#include <windns.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <array>
#include <cstring>

#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

// The request's data: a short text, sent as UTF-16 (32 bytes).
constexpr wchar_t kEchoText[] = L"@Echo this stuff";
constexpr DWORD kEchoBytes = sizeof(kEchoText) - sizeof(wchar_t);
// One reply record with the echoed data, and room for the 8 bytes of an ICMP error message that
// the system may put there instead.
constexpr DWORD kReplyBytes = sizeof(ICMP_ECHO_REPLY) + kEchoBytes + 8;

// Names are followed through at most this many CNAME records, so a loop of aliases ends.
constexpr int kMostAliases = 8;

using DnsQueryFn = DNS_STATUS(WINAPI*)(PCWSTR, WORD, DWORD, PVOID, PDNS_RECORD*, PVOID*);
using DnsRecordListFreeFn = VOID(WINAPI*)(PDNS_RECORD, DNS_FREE_TYPE);

}  // namespace

platform::EchoReply Win32IcmpEcho::Echo(uint32_t address, int timeoutMs) {
  platform::EchoReply result;
  const HANDLE icmp = ::IcmpCreateFile();
  alignas(ICMP_ECHO_REPLY) std::array<unsigned char, kReplyBytes> buffer{};
  char request[kEchoBytes];
  std::memcpy(request, kEchoText, kEchoBytes);
  const DWORD replies = ::IcmpSendEcho(icmp, address, request, kEchoBytes, nullptr,
                                       buffer.data(), kReplyBytes,
                                       static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 1));
  ICMP_ECHO_REPLY reply;
  std::memcpy(&reply, buffer.data(), sizeof(reply));
  result.Answered = replies != 0 && reply.Status == IP_SUCCESS;
  result.RoundTripMs = static_cast<int>(reply.RoundTripTime);
  result.Ttl = reply.Options.Ttl;
  result.Tos = reply.Options.Tos;
  if (icmp != INVALID_HANDLE_VALUE)
    ::IcmpCloseHandle(icmp);
  return result;
}

uint32_t Win32NameLookup::LookUpIPv4(const std::wstring& name) {
  const HMODULE dns = libraries_.Module(platform::OptionalLibrary::Dns);
  const auto query = dns ? ProcAddress<DnsQueryFn>(dns, "DnsQuery_W") : nullptr;
  const auto release = dns ? ProcAddress<DnsRecordListFreeFn>(dns, "DnsRecordListFree") : nullptr;
  if (!query || !release)
    return 0;
  std::wstring current = name;
  for (int alias = 0; alias <= kMostAliases; ++alias) {
    PDNS_RECORD records = nullptr;
    if (query(current.c_str(), DNS_TYPE_A, DNS_QUERY_STANDARD, nullptr, &records, nullptr) != 0 ||
        records == nullptr) {
      return 0;
    }
    uint32_t address = 0;
    bool follow = false;
    if (records->wType == DNS_TYPE_A) {
      address = records->Data.A.IpAddress;
    } else if (records->wType == DNS_TYPE_CNAME && records->Data.CNAME.pNameHost != nullptr) {
      current = records->Data.CNAME.pNameHost;
      follow = true;
    }
    release(records, DnsFreeRecordList);
    if (!follow)
      return address;
  }
  return 0;
}

}  // namespace tarvik::win32
