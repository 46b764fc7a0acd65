// The yardstick for the ping coordinator's cost: the same echo requests with nothing around them.
// For <seconds> of the wall clock, as each second begins, one thread sends one echo to every host
// 127.0.x.y at once with IcmpSendEcho2 and an APC, as the program's echo engine does, and reads
// each reply with IcmpParseReplies when its APC runs while the thread waits alertably; echoes
// still out when the next second begins stay out (a 1 s time-out overlaps the next cycle). A
// second that begins while a cycle is still being sent has no cycle of its own, as in the
// program.
//
//   tarvik-icmp-loop.exe <hosts> <seconds>
//
// Prints a line "cycle <second> <echoes>" for each cycle, by the Unix second it began in, so that a
// measurement can count the echoes of its own window; then the echoes sent, the answered ones,
// the cycles, the cycles that started within 100 ms of their second, the seconds, the longest
// time sending one cycle's echoes took, and the echoes still out at the end (none, normally);
// then how many of the echoes to the host sent last in each cycle were answered.
#include <winsock2.h>

#include <windows.h>
#include <winternl.h>

#define PIO_APC_ROUTINE_DEFINED
#include <iphlpapi.h>

#include <icmpapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr wchar_t kEchoText[] = L"@Echo this stuff";
constexpr DWORD kEchoBytes = sizeof(kEchoText) - sizeof(wchar_t);
constexpr DWORD kReplyBytes = sizeof(ICMP_ECHO_REPLY) + kEchoBytes + 8 + sizeof(IO_STATUS_BLOCK);
constexpr DWORD kTimeoutMs = 1000;
constexpr ULONGLONG kOnTimeMs = 100;
constexpr ULONGLONG kLongestDrainMs = 20'000;

struct Echo {
  bool ToLastHost = false;
  alignas(ICMP_ECHO_REPLY) std::array<unsigned char, kReplyBytes> Reply{};
};

long g_inFlight = 0;
long g_answered = 0;
long g_lastHostAnswered = 0;

void NTAPI Completed(PVOID context, PIO_STATUS_BLOCK, ULONG) {
  Echo* echo = static_cast<Echo*>(context);
  const DWORD replies = ::IcmpParseReplies(echo->Reply.data(), kReplyBytes);
  ICMP_ECHO_REPLY reply;
  std::memcpy(&reply, echo->Reply.data(), sizeof(reply));
  if (replies != 0 && reply.Status == IP_SUCCESS) {
    ++g_answered;
    g_lastHostAnswered += echo->ToLastHost ? 1 : 0;
  }
  --g_inFlight;
  delete echo;
}

// 127.0.x.y for host number n, counted from 127.0.0.1; first octet in the lowest byte.
ULONG LoopbackAddress(int n) {
  const int value = n + 1;
  return 127u | static_cast<ULONG>((value >> 8) & 0xFF) << 16 |
         static_cast<ULONG>(value & 0xFF) << 24;
}

// Milliseconds of the wall clock since 1970.
ULONGLONG UnixMs() {
  constexpr ULONGLONG kMsFrom1601To1970 = 11'644'473'600'000;
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const ULONGLONG hundredNs = static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
  return hundredNs / 10'000 - kMsFrom1601To1970;
}

// Waits alertably (the APCs run meanwhile) until the next second begins.
void WaitForNextSecond() {
  const ULONGLONG second = UnixMs() / 1'000;
  for (ULONGLONG now = UnixMs(); now / 1'000 == second; now = UnixMs()) {
    const ULONGLONG left = 1'000 - now % 1'000;
    ::SleepEx(static_cast<DWORD>(left > 2 ? left - 2 : 1), TRUE);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tarvik-icmp-loop <hosts> <seconds>\n");
    return 2;
  }
  const int hosts = std::atoi(argv[1]);
  const int seconds = std::atoi(argv[2]);
  const HANDLE icmp = ::IcmpCreateFile();
  static const std::array<char, kEchoBytes> request = [] {
    std::array<char, kEchoBytes> bytes{};
    std::memcpy(bytes.data(), kEchoText, kEchoBytes);
    return bytes;
  }();
  long sent = 0;
  int cycles = 0;
  int onTime = 0;
  ULONGLONG longestSendMs = 0;
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1'000;
  for (WaitForNextSecond(); ::GetTickCount64() < end; WaitForNextSecond()) {
    ++cycles;
    const ULONGLONG began = UnixMs();
    if (began % 1'000 <= kOnTimeMs)
      ++onTime;
    const long sentBefore = sent;
    const ULONGLONG sending = ::GetTickCount64();
    for (int n = 0; n < hosts; ++n) {
      Echo* echo = new Echo;
      echo->ToLastHost = n == hosts - 1;
      const DWORD answered = ::IcmpSendEcho2(icmp, nullptr, &Completed, echo, LoopbackAddress(n),
                                             const_cast<char*>(request.data()), kEchoBytes, nullptr,
                                             echo->Reply.data(), kReplyBytes, kTimeoutMs);
      ++sent;
      if (answered == 0 && ::GetLastError() != ERROR_IO_PENDING)
        delete echo;
      else
        ++g_inFlight;
    }
    longestSendMs = std::max(longestSendMs, ::GetTickCount64() - sending);
    std::printf("cycle %llu %ld\n", began / 1'000, sent - sentBefore);
  }
  // Every echo comes back before the end, as in the program: one still out when the process ends
  // is cancelled, and Wine's network device can deadlock cancelling one while another completes,
  // after which no later program of the session gets an echo.
  const ULONGLONG drained = ::GetTickCount64() + kLongestDrainMs;
  while (g_inFlight > 0 && ::GetTickCount64() < drained)
    ::SleepEx(50, TRUE);
  std::printf(
      "echoes %ld answered %ld cycles %d on time %d of %d seconds longest send %llu ms still out "
      "%ld\n",
      sent, g_answered, cycles, onTime, seconds, longestSendMs, g_inFlight);
  std::printf("last host answered %ld of %d\n", g_lastHostAnswered, cycles);
  return 0;
}
