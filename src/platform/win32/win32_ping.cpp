#include "platform/win32/win32_ping.h"

#include <winsock2.h>

#include <windns.h>
#include <winternl.h>

// winternl.h gives the APC routine's type; the ICMP header then declares IcmpSendEcho2 with it.
#define PIO_APC_ROUTINE_DEFINED
#include <iphlpapi.h>

#include <icmpapi.h>

#include <array>
#include <cstring>
#include <memory>

#include "platform/os_call_count.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

// The request's data: a short text, sent as UTF-16 (32 bytes). It stays in place while the
// echoes that carry it are in flight.
constexpr wchar_t kEchoText[] = L"@Echo this stuff";
constexpr DWORD kEchoBytes = sizeof(kEchoText) - sizeof(wchar_t);
// One reply record with the echoed data, room for the 8 bytes of an ICMP error message that the
// system may put there instead, and for the status block of an echo that completes later.
constexpr DWORD kReplyBytes = sizeof(ICMP_ECHO_REPLY) + kEchoBytes + 8 + sizeof(IO_STATUS_BLOCK);
// A wait for the echoes in flight when the sender goes; past it, they are let go.
constexpr DWORD kLongestDrainMs = 5'000;

// Names are followed through at most this many CNAME records, so a loop of aliases ends.
constexpr int kMostAliases = 8;

using DnsQueryFn = DNS_STATUS(WINAPI*)(PCWSTR, WORD, DWORD, PVOID, PDNS_RECORD*, PVOID*);
using DnsRecordListFreeFn = VOID(WINAPI*)(PDNS_RECORD, DNS_FREE_TYPE);

// One echo in flight: the system writes its reply here, and its APC reads it, hands it to the
// sender's list of completed echoes and lets it go.
struct Echo {
  std::vector<std::pair<uint64_t, platform::EchoReply>>* Completed = nullptr;
  size_t* InFlight = nullptr;
  uint64_t Tag = 0;
  alignas(ICMP_ECHO_REPLY) std::array<unsigned char, kReplyBytes> Reply{};
};

void NTAPI EchoCompleted(PVOID context, PIO_STATUS_BLOCK /*status*/, ULONG /*reserved*/) {
  const std::unique_ptr<Echo> echo(static_cast<Echo*>(context));
  const DWORD replies = ::IcmpParseReplies(echo->Reply.data(), kReplyBytes);
  ICMP_ECHO_REPLY reply;
  std::memcpy(&reply, echo->Reply.data(), sizeof(reply));
  echo->Completed->emplace_back(
      echo->Tag, platform::EchoReply{.Answered = replies != 0 && reply.Status == IP_SUCCESS,
                                     .RoundTripMs = static_cast<int>(reply.RoundTripTime),
                                     .Ttl = reply.Options.Ttl,
                                     .Tos = reply.Options.Tos});
  --*echo->InFlight;
}

}  // namespace

Win32IcmpEchoes::Win32IcmpEchoes() : icmp_(::IcmpCreateFile()) {}

Win32IcmpEchoes::~Win32IcmpEchoes() {
  const ULONGLONG end = ::GetTickCount64() + kLongestDrainMs;
  while (inFlight_ > 0 && ::GetTickCount64() < end)
    ::SleepEx(50, TRUE);
  // An echo still in flight would write into a buffer and reach an owner that is gone: the
  // handle stays open and the echoes are left to the process's end.
  if (inFlight_ == 0 && icmp_ != INVALID_HANDLE_VALUE)
    ::IcmpCloseHandle(icmp_);
}

bool Win32IcmpEchoes::Send(uint32_t address, int timeoutMs, uint64_t tag) {
  TARVIK_COUNT_OS_CALL("IcmpSendEcho2");
  if (icmp_ == INVALID_HANDLE_VALUE)
    return false;
  auto echo = std::make_unique<Echo>();
  echo->Completed = &completed_;
  echo->InFlight = &inFlight_;
  echo->Tag = tag;
  static const std::array<char, kEchoBytes> request = [] {
    std::array<char, kEchoBytes> bytes{};
    std::memcpy(bytes.data(), kEchoText, kEchoBytes);
    return bytes;
  }();
  const DWORD answered =
      ::IcmpSendEcho2(icmp_, nullptr, &EchoCompleted, echo.get(), address,
                      const_cast<char*>(request.data()), kEchoBytes, nullptr, echo->Reply.data(),
                      kReplyBytes, static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 1));
  // Sent: the APC comes, also when the call had the answer at once. Refused: none comes.
  if (answered == 0 && ::GetLastError() != ERROR_IO_PENDING)
    return false;
  echo.release();
  ++inFlight_;
  return true;
}

void Win32IcmpEchoes::Collect(int waitMs, const Completed& completed) {
  if (completed_.empty())
    ::SleepEx(static_cast<DWORD>(waitMs > 0 ? waitMs : 0), TRUE);
  // Taken out first: a completion handler that sends again adds to a fresh list.
  const auto done = std::exchange(completed_, {});
  for (const auto& [tag, reply] : done)
    completed(tag, reply);
}

uint32_t Win32NameLookup::LookUpIPv4(const std::wstring& name) {
  TARVIK_COUNT_OS_CALL("DnsQuery_W");
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
