#include <gtest/gtest.h>

#include <winsock2.h>

#include <chrono>
#include <string>

#include "platform/posix/curl_http.h"

namespace tarvik {
namespace {

// A server on 127.0.0.1 that takes every connection and never says a word.
class SilentServer {
 public:
  SilentServer() {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 4);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    ::closesocket(listener_);
    ::WSACleanup();
  }
  [[nodiscard]] std::string Url() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/json/";
  }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
};

// libcurl's TLS libraries are not loaded with the program: the security provider comes with the
// first request (a refused one starts libcurl all the same), the certificate and random-number
// libraries only when libcurl first calls them.
TEST(CurlHttp, TheTlsLibrariesComeWithTheFirstRequest) {
  for (const wchar_t* library : {L"secur32.dll", L"crypt32.dll", L"bcrypt.dll"})
    ASSERT_EQ(::GetModuleHandleW(library), nullptr) << library;
  curl::CurlHttp http;
  EXPECT_EQ(::GetModuleHandleW(L"secur32.dll"), nullptr);
  EXPECT_EQ(http.Get("http://127.0.0.1:1/json/",
                     {.ConnectTimeoutMs = 2'000, .TotalTimeoutMs = 2'000}, {}),
            std::nullopt);
  EXPECT_NE(::GetModuleHandleW(L"secur32.dll"), nullptr);
}

// Under Wine, with libcurl as the program links it: a request that shut-down gives up ends long
// before its time-out.
TEST(CurlHttp, AnAbandonedRequestEndsLongBeforeItsTimeOut) {
  SilentServer server;
  curl::CurlHttp http;
  const auto start = std::chrono::steady_clock::now();
  const auto abandon = [start] {
    // By then the request has long been sent and the transfer waits for the answer.
    return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(500);
  };
  EXPECT_EQ(http.Get(server.Url(), {.ConnectTimeoutMs = 20'000, .TotalTimeoutMs = 20'000}, abandon),
            std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace tarvik
