// The yardstick for the ping coordinator's cost: the same echo requests with nothing around
// them. Every second a cycle pings each of the hosts 127.0.x.y once, shared out to a number of
// threads that are started for the cycle and ended after it, as the program's workers are.
//
//   tarvik-icmp-loop.exe <hosts> <seconds> <threads>
//
// Prints the echoes sent, the answered ones and the cycles that ended within their second.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr wchar_t kEchoText[] = L"@Echo this stuff";
constexpr DWORD kEchoBytes = sizeof(kEchoText) - sizeof(wchar_t);
constexpr DWORD kReplyBytes = sizeof(ICMP_ECHO_REPLY) + kEchoBytes + 8;
constexpr DWORD kTimeoutMs = 1000;

// 127.0.x.y for host number n, counted from 127.0.0.1; first octet in the lowest byte.
ULONG LoopbackAddress(int n) {
  const int value = n + 1;
  return 127u | static_cast<ULONG>((value >> 8) & 0xFF) << 16 | static_cast<ULONG>(value & 0xFF) << 24;
}

bool Echo(ULONG address) {
  const HANDLE icmp = ::IcmpCreateFile();
  alignas(ICMP_ECHO_REPLY) unsigned char reply[kReplyBytes] = {};
  char request[kEchoBytes];
  std::memcpy(request, kEchoText, kEchoBytes);
  const DWORD replies =
      ::IcmpSendEcho(icmp, address, request, kEchoBytes, nullptr, reply, kReplyBytes, kTimeoutMs);
  ICMP_ECHO_REPLY first;
  std::memcpy(&first, reply, sizeof(first));
  ::IcmpCloseHandle(icmp);
  return replies != 0 && first.Status == IP_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: tarvik-icmp-loop <hosts> <seconds> <threads>\n");
    return 2;
  }
  const int hosts = std::atoi(argv[1]);
  const int seconds = std::atoi(argv[2]);
  const int threads = std::atoi(argv[3]);
  long sent = 0;
  std::atomic<long> answered = 0;
  int onTime = 0;
  for (int cycle = 0; cycle < seconds; ++cycle) {
    const ULONGLONG start = ::GetTickCount64();
    std::atomic<int> next = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
      workers.emplace_back([&] {
        for (int n = next++; n < hosts; n = next++) {
          if (Echo(LoopbackAddress(n)))
            ++answered;
        }
      });
    }
    for (std::thread& worker : workers)
      worker.join();
    sent += hosts;
    const ULONGLONG took = ::GetTickCount64() - start;
    if (took <= 1000) {
      ++onTime;
      ::Sleep(static_cast<DWORD>(1000 - took));
    }
  }
  std::printf("echoes %ld answered %ld cycles %d on time %d\n", sent, answered.load(), seconds,
              onTime);
  return 0;
}
