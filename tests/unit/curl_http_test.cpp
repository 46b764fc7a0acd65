#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "platform/posix/curl_http.h"

namespace tarvik {
namespace {

// A server on 127.0.0.1 that takes one connection and gives it `reply`, or, with no reply, holds
// it open without a word until the client gives up.
class OneAnswerServer {
 public:
  explicit OneAnswerServer(std::optional<std::string> reply) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 1);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, reply = std::move(reply)] {
      const int client = ::accept(listener_, nullptr, nullptr);
      char request[4096];
      static_cast<void>(::recv(client, request, sizeof(request), 0));
      asked_ = true;
      if (reply)
        static_cast<void>(::send(client, reply->data(), reply->size(), MSG_NOSIGNAL));
      else
        static_cast<void>(::recv(client, request, sizeof(request), 0));  // until closed
      ::close(client);
    });
  }
  ~OneAnswerServer() {
    thread_.join();
    ::close(listener_);
  }
  [[nodiscard]] std::string Url() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/json/";
  }
  // The request has arrived.
  [[nodiscard]] bool Asked() const { return asked_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> asked_{false};
  std::thread thread_;
};

std::string Reply(const std::string& status, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TEST(CurlHttp, OnlyAWholeSuccessfulAnswerWithinTheLimitsIsAnAnswer) {
  const platform::HttpLimits limits{
      .ConnectTimeoutMs = 2'000, .TotalTimeoutMs = 500, .MostBodyBytes = 1'000};
  struct Case {
    const char* name;
    std::optional<std::string> reply;
    std::optional<std::string> body;
  };
  const std::string json = R"({"status":"success"})";
  const Case cases[] = {
      {"answer", Reply("200 OK", json), json},
      {"not found", Reply("404 Not Found", json), std::nullopt},
      {"as long as allowed", Reply("200 OK", std::string(1'000, 'x')), std::string(1'000, 'x')},
      {"too long", Reply("200 OK", std::string(1'001, 'x')), std::nullopt},
      {"silent server", std::nullopt, std::nullopt},
  };
  curl::CurlHttp http;
  for (const Case& c : cases) {
    OneAnswerServer server(c.reply);
    EXPECT_EQ(http.Get(server.Url(), limits, {}), c.body) << c.name;
  }
  // Nobody listens on port 1 of the loopback address.
  EXPECT_EQ(http.Get("http://127.0.0.1:1/json/", limits, {}), std::nullopt);
}

// Shut-down gives up a request to a silent server at once instead of waiting for its time-out.
// It does so once the request has arrived, so that the server is never left waiting for it.
TEST(CurlHttp, AnAbandonedRequestEndsLongBeforeItsTimeOut) {
  const platform::HttpLimits limits{.ConnectTimeoutMs = 20'000, .TotalTimeoutMs = 20'000};
  curl::CurlHttp http;
  OneAnswerServer server(std::nullopt);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(http.Get(server.Url(), limits, [&server] { return server.Asked(); }), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace tarvik
