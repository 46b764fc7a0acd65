#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <ctime>
#include <string>

#include "platform/posix/httplib_page_server.h"
#include "platform/win32/win32_own_process.h"

namespace tarvik {
namespace {

using platform::ListenResult;

// A listening socket of another program on a port of the loopback address.
class OtherListener {
 public:
  OtherListener() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(socket_, 1);
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ::ntohs(address.sin_port);
  }
  ~OtherListener() { ::closesocket(socket_); }
  OtherListener(const OtherListener&) = delete;
  OtherListener& operator=(const OtherListener&) = delete;
  [[nodiscard]] uint16_t Port() const { return port_; }

 private:
  SOCKET socket_;
  uint16_t port_ = 0;
};

// The Windows side of the listener: a port another program holds reads as taken, and one that
// was just given back can be listened on at once.
TEST(Win32PageServer, ATakenPortIsToldApartAndAFreedOneIsTaken) {
  httplib_server::HttplibPageServer server;
  const auto page = [] { return platform::ServedPage{"text/plain", "up 1\n"}; };
  uint16_t port = 0;
  {
    OtherListener other;
    port = other.Port();
    EXPECT_EQ(server.Start("127.0.0.1", port, "/metrics", page), ListenResult::AddressInUse);
    EXPECT_FALSE(server.Listening());
  }
  EXPECT_EQ(server.Start("127.0.0.1", port, "/metrics", page), ListenResult::Listening);
  EXPECT_TRUE(server.Listening());
  server.Stop();
  EXPECT_FALSE(server.Listening());
}

TEST(Win32OwnProcess, ReportsThisProcess) {
  win32::Win32OwnProcess process;
  const auto before = process.Figures();
  ASSERT_TRUE(before.has_value());
  EXPECT_GT(before->WorkingSetBytes, 1 << 20);
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  EXPECT_LE(before->StartTimeUnixSeconds, now);
  EXPECT_GT(before->StartTimeUnixSeconds, now - 3600);
  EXPECT_GE(before->UptimeSeconds, 0);
  // Busy for a while, the process has used more processor time.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  volatile uint64_t spin = 0;
  while (std::chrono::steady_clock::now() < until)
    spin = spin + 1;
  const auto after = process.Figures();
  ASSERT_TRUE(after.has_value());
  EXPECT_GT(after->CpuSeconds, before->CpuSeconds);
}

}  // namespace
}  // namespace tarvik
