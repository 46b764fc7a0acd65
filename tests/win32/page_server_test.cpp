#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <memory>
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

// A listening socket of another program on a port of the loopback address.
class OtherListener {
 public:
  OtherListener() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
    sockaddr_in address = LoopbackAddress(0);
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

// A client that connects and says nothing.
class IdleClient {
 public:
  explicit IdleClient(uint16_t port) : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
    const sockaddr_in address = LoopbackAddress(port);
    connected_ =
        ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  }
  ~IdleClient() { ::closesocket(socket_); }
  IdleClient(const IdleClient&) = delete;
  IdleClient& operator=(const IdleClient&) = delete;
  [[nodiscard]] bool Connected() const { return connected_; }

 private:
  SOCKET socket_;
  bool connected_ = false;
};

// The listener has no tick of its own to see a stop by: the stop ends its wait at once under Wine
// too, with nobody connected as with a client that holds its connection.
TEST(Win32PageServer, StopsAtOnceWithClientsConnectedOrNone) {
  const auto page = [] { return platform::ServedPage{"text/plain", "up 1\n"}; };
  for (const int connected : {0, 1}) {
    SCOPED_TRACE(connected);
    httplib_server::HttplibPageServer server;
    uint16_t port = 0;
    {
      OtherListener free;  // a port given back at once
      port = free.Port();
    }
    ASSERT_EQ(server.Start("127.0.0.1", port, "/metrics", page), ListenResult::Listening);
    std::unique_ptr<IdleClient> client;
    if (connected > 0) {
      client = std::make_unique<IdleClient>(port);
      ASSERT_TRUE(client->Connected());
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
