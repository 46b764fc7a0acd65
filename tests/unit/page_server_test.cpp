#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/httplib_page_server.h"

namespace tarvik {
namespace {

using platform::ListenResult;
using platform::PageServerLimits;
using Clock = std::chrono::steady_clock;

constexpr const char* kLoopback = "127.0.0.1";

// A port nobody listens on just now.
uint16_t FreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

// One client connection on the loopback address.
class Client {
 public:
  explicit Client(uint16_t port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  }
  ~Client() { ::close(socket_); }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  [[nodiscard]] bool Connected() const { return connected_; }
  void Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t now = ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (now <= 0)
        return;
      sent += static_cast<size_t>(now);
    }
  }
  // Everything the server sends until it closes the connection, or until `waitMs` passed.
  [[nodiscard]] std::string Answer(int waitMs = 3'000) {
    std::string answer;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(waitMs);
    while (Clock::now() < end) {
      pollfd ready{socket_, POLLIN, 0};
      if (::poll(&ready, 1, 50) <= 0)
        continue;
      char buffer[4096];
      const ssize_t got = ::recv(socket_, buffer, sizeof(buffer), 0);
      if (got <= 0) {
        closed_ = true;
        break;
      }
      answer.append(buffer, static_cast<size_t>(got));
    }
    return answer;
  }
  [[nodiscard]] bool Closed() const { return closed_; }

 private:
  int socket_;
  bool connected_ = false;
  bool closed_ = false;
};

std::string Request(const std::string& method, const std::string& target,
                    const std::string& extra = "") {
  return method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

std::string StatusOf(const std::string& answer) {
  return answer.substr(0, answer.find("\r\n"));
}

std::string BodyOf(const std::string& answer) {
  const size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

class PageServerTest : public ::testing::Test {
 protected:
  void Start(PageServerLimits limits = {}) {
    server_ = std::make_unique<httplib_server::HttplibPageServer>(limits);
    port_ = FreePort();
    ASSERT_EQ(server_->Start(kLoopback, port_, "/metrics",
                             [this] {
                               ++pages_;
                               return platform::ServedPage{"text/plain; version=0.0.4", "up 1\n"};
                             }),
              ListenResult::Listening);
  }
  std::string Ask(const std::string& request) {
    Client client(port_);
    client.Send(request);
    return client.Answer();
  }

  std::unique_ptr<httplib_server::HttplibPageServer> server_;
  uint16_t port_ = 0;
  std::atomic<int> pages_ = 0;
};

TEST_F(PageServerTest, AnswersOnlyGetAndHeadOfItsPath) {
  Start();
  const struct {
    std::string Request;
    std::string Status;
    std::string Body;
  } cases[] = {
      {Request("GET", "/metrics"), "HTTP/1.1 200 OK", "up 1\n"},
      {Request("GET", "/metrics?name=up"), "HTTP/1.1 200 OK", "up 1\n"},
      {Request("HEAD", "/metrics"), "HTTP/1.1 200 OK", ""},
      {Request("POST", "/metrics", "Content-Length: 5\r\n") + "hello",
       "HTTP/1.1 405 Method Not Allowed", ""},
      {Request("DELETE", "/metrics"), "HTTP/1.1 405 Method Not Allowed", ""},
      {Request("GET", "/"), "HTTP/1.1 404 Not Found", ""},
      {Request("GET", "/metricsx"), "HTTP/1.1 404 Not Found", ""},
      {Request("GET", "/Metrics"), "HTTP/1.1 404 Not Found", ""},
      {"BREW /metrics HTTP/1.1\r\n\r\n", "HTTP/1.1 400 Bad Request", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Request);
    const std::string answer = Ask(c.Request);
    EXPECT_EQ(StatusOf(answer), c.Status);
    EXPECT_EQ(BodyOf(answer), c.Body);
  }
  const std::string head = Ask(Request("HEAD", "/metrics"));
  EXPECT_NE(head.find("Content-Length: 5\r\n"), std::string::npos) << head;
  const std::string page = Ask(Request("GET", "/metrics"));
  EXPECT_NE(page.find("Content-Type: text/plain; version=0.0.4\r\n"), std::string::npos) << page;
  EXPECT_NE(page.find("Connection: close\r\n"), std::string::npos) << page;
  EXPECT_NE(Ask(Request("POST", "/metrics")).find("Allow: GET, HEAD\r\n"), std::string::npos);
}

// A head over the limit is refused and costs the server nothing: the next scrape is answered.
TEST_F(PageServerTest, RefusesARequestHeadOverTheLimit) {
  Start();
  const struct {
    size_t HeaderBytes;
    bool Answered;
  } cases[] = {{7'000, true}, {8'300, false}, {1'048'576, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.HeaderBytes);
    // Headers of 100 bytes each, so that no single line is over a line's own limit.
    std::string headers;
    while (headers.size() < c.HeaderBytes)
      headers += "X-Fill-" + std::to_string(headers.size()) + ": " + std::string(80, 'x') + "\r\n";
    Client client(port_);
    client.Send(Request("GET", "/metrics", headers));
    const std::string answer = client.Answer();
    EXPECT_EQ(StatusOf(answer) == "HTTP/1.1 200 OK", c.Answered) << StatusOf(answer);
    EXPECT_TRUE(client.Closed());
    EXPECT_EQ(StatusOf(Ask(Request("GET", "/metrics"))), "HTTP/1.1 200 OK");
  }
}

// Clients that connect and say nothing take places, but the oldest of them gives its place to a
// newcomer: a scrape among fifty of them is answered without waiting for their time-out.
TEST_F(PageServerTest, IdleClientsDoNotHoldUpAScrape) {
  Start();
  std::vector<std::unique_ptr<Client>> idle;
  for (int client = 0; client < 50; ++client) {
    idle.push_back(std::make_unique<Client>(port_));
    ASSERT_TRUE(idle.back()->Connected());
  }
  const Clock::time_point asked = Clock::now();
  EXPECT_EQ(StatusOf(Ask(Request("GET", "/metrics"))), "HTTP/1.1 200 OK");
  EXPECT_LT(Clock::now() - asked, std::chrono::seconds(1));
  // The first idle clients were pushed out; the last ones still hold their places.
  EXPECT_EQ(idle.front()->Answer(500), "");
  EXPECT_TRUE(idle.front()->Closed());
  EXPECT_EQ(idle.back()->Answer(100), "");
  EXPECT_FALSE(idle.back()->Closed());
}

// A client that sends its head too slowly is closed once the head's time is up.
TEST_F(PageServerTest, ClosesAHeadThatTakesTooLong) {
  Start({.HeadTimeoutMs = 300});
  Client slow(port_);
  slow.Send("GET /metrics HTTP/1.1\r\n");
  const Clock::time_point sent = Clock::now();
  for (int drip = 0; drip < 20 && !slow.Closed(); ++drip) {
    slow.Send("X: y\r\n");
    static_cast<void>(slow.Answer(100));
  }
  EXPECT_TRUE(slow.Closed());
  EXPECT_LT(Clock::now() - sent, std::chrono::milliseconds(1'500));
  EXPECT_EQ(pages_, 0);
}

TEST_F(PageServerTest, TellsWhyItCannotListen) {
  Start();
  httplib_server::HttplibPageServer second;
  const auto page = [] { return platform::ServedPage{}; };
  EXPECT_EQ(second.Start(kLoopback, port_, "/metrics", page), ListenResult::AddressInUse);
  EXPECT_FALSE(second.Listening());
  // 192.0.2.1 is kept for documentation: no machine has it.
  EXPECT_EQ(second.Start("192.0.2.1", FreePort(), "/metrics", page),
            ListenResult::AddressNotAvailable);
  // Stopped, the port is free for the next listener at once.
  server_->Stop();
  EXPECT_FALSE(server_->Listening());
  EXPECT_EQ(second.Start(kLoopback, port_, "/metrics", page), ListenResult::Listening);
  EXPECT_TRUE(second.Listening());
}

// Stopping closes every connection, idle or half sent, without waiting for their time-outs, and
// ends the listener's wait at once: it has no tick of its own to see the stop by.
TEST_F(PageServerTest, StopsAtOnceWithClientsConnectedOrNone) {
  for (const int connected : {0, 6}) {
    SCOPED_TRACE(connected);
    Start();
    std::vector<std::unique_ptr<Client>> clients;
    for (int client = 0; client < connected; ++client)
      clients.push_back(std::make_unique<Client>(port_));
    if (connected > 0) {
      clients.back()->Send("GET /metrics HTTP/1.1\r\nHost:");
      static_cast<void>(clients.front()->Answer(100));
    }
    const Clock::time_point stopping = Clock::now();
    server_->Stop();
    EXPECT_LT(Clock::now() - stopping, std::chrono::milliseconds(500));
    for (const auto& client : clients) {
      static_cast<void>(client->Answer(500));
      EXPECT_TRUE(client->Closed());
    }
    EXPECT_FALSE(Client(port_).Connected());
  }
}

size_t ThreadsOfThisProcess() {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                           std::filesystem::directory_iterator()));
}

// Listening costs one thread; a connection's thread starts when a connection comes and serves
// the next ones too (a scrape that comes while the thread still closes the last one may start a
// second); a burst of clients starts a few more, never one each; stopped, none is left.
TEST_F(PageServerTest, StartsConnectionThreadsAsConnectionsCome) {
  const size_t before = ThreadsOfThisProcess();
  Start();
  EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
  for (int scrape = 0; scrape < 10; ++scrape) {
    EXPECT_EQ(StatusOf(Ask(Request("GET", "/metrics"))), "HTTP/1.1 200 OK");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_GE(ThreadsOfThisProcess(), before + 2);
  EXPECT_LE(ThreadsOfThisProcess(), before + 1 + 3);
  std::vector<std::unique_ptr<Client>> idle;
  for (int client = 0; client < 50; ++client)
    idle.push_back(std::make_unique<Client>(port_));
  EXPECT_EQ(StatusOf(Ask(Request("GET", "/metrics"))), "HTTP/1.1 200 OK");
  EXPECT_GT(ThreadsOfThisProcess(), before + 2);
  EXPECT_LE(ThreadsOfThisProcess(), before + 1 + 16);
  server_->Stop();
  EXPECT_EQ(ThreadsOfThisProcess(), before);
}

}  // namespace
}  // namespace tarvik
