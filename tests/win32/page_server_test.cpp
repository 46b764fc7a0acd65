#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/posix/httplib_page_server.h"

namespace tarvik {
namespace {

using platform::ListenResult;

sockaddr_in LoopbackAddress(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  return address;
}

// A socket of another program on the loopback address: a listener on a port of its own, or a
// client that connects and says nothing.
class LoopbackSocket {
 public:
  LoopbackSocket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
  ~LoopbackSocket() { ::closesocket(socket_); }
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;

  // The port it listens on.
  [[nodiscard]] uint16_t Listen() {
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof(address);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(socket_, 1);
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    return ::ntohs(address.sin_port);
  }
  [[nodiscard]] bool Connect(uint16_t port) {
    const sockaddr_in address = LoopbackAddress(port);
    return ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  }

 private:
  SOCKET socket_;
};

// The Windows side of the listener: a port another program holds reads as taken, and one that
// was just given back can be listened on at once.
TEST(Win32PageServer, ATakenPortIsToldApartAndAFreedOneIsTaken) {
  httplib_server::HttplibPageServer server;
  const auto page = [] { return platform::ServedPage{"text/plain", "up 1\n"}; };
  uint16_t port = 0;
  {
    LoopbackSocket other;
    port = other.Listen();
    EXPECT_EQ(server.Start("127.0.0.1", port, "/metrics", page), ListenResult::AddressInUse);
    EXPECT_FALSE(server.Listening());
  }
  EXPECT_EQ(server.Start("127.0.0.1", port, "/metrics", page), ListenResult::Listening);
  EXPECT_TRUE(server.Listening());
  server.Stop();
  EXPECT_FALSE(server.Listening());
}

// The listener has no tick of its own to see a stop by: the stop ends its wait at once under Wine
// too, with nobody connected as with a client that holds its connection.
TEST(Win32PageServer, StopsAtOnceWithClientsConnectedOrNone) {
  const auto page = [] { return platform::ServedPage{"text/plain", "up 1\n"}; };
  for (const int connected : {0, 1}) {
    SCOPED_TRACE(connected);
    httplib_server::HttplibPageServer server;
    uint16_t port = 0;
    {
      LoopbackSocket free;  // a port given back at once
      port = free.Listen();
    }
    ASSERT_EQ(server.Start("127.0.0.1", port, "/metrics", page), ListenResult::Listening);
    LoopbackSocket client;
    if (connected > 0) {
      ASSERT_TRUE(client.Connect(port));
    }
    // Long enough for the listener to be waiting for the next connection.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto stopping = std::chrono::steady_clock::now();
    server.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::milliseconds(1'000));
    EXPECT_FALSE(server.Listening());
  }
}

}  // namespace
}  // namespace tarvik
