#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "platform/posix/httplib_page_server.h"

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

}  // namespace
}  // namespace tarvik
