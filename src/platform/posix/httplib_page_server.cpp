#include "platform/posix/httplib_page_server.h"

// The listener takes every connection at once and the limits below decide its fate, so a short
// queue of connections not yet taken is enough.
#define CPPHTTPLIB_LISTEN_BACKLOG 16
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "platform/posix/listen_socket.h"

namespace tarvik::httplib_server {
namespace {

using Clock = std::chrono::steady_clock;
using platform::ListenResult;
using platform::PageServerLimits;

// How often the listener looks for connections whose head is overdue, as a share of the time a
// head may take, within these bounds.
constexpr int kSweepsPerHeadTimeout = 10;
constexpr int kShortestSweepMs = 20;
constexpr int kLongestSweepMs = 500;
// A listener whose thread does not report within this long is given up.
constexpr std::chrono::seconds kListenerStartWait{5};

// The connections being served, each with when it came and whether its whole request head has
// arrived. A connection is closed from outside its thread by shutting its socket down: the
// library's wait on it ends at once and the thread closes it.
class ConnectionTable {
 public:
  explicit ConnectionTable(const PageServerLimits& limits) : limits_(limits) {}

  // The listener accepted a connection: true when a thread of its own may serve it. At the limit
  // the oldest connection still sending its head makes room; when every connection is being
  // answered the new one is refused.
  [[nodiscard]] bool Admit() {
    std::lock_guard lock(mutex_);
    if (stopping_ || entries_.size() + starting_ >= 2 * Limit())
      return false;
    if (Open() >= Limit() && !CloseOldestUnread())
      return false;
    ++starting_;
    return true;
  }
  // An admitted connection whose thread could not start.
  void Abandon() {
    std::lock_guard lock(mutex_);
    --starting_;
  }
  // On the connection's thread: its entry, or none once the server stops.
  [[nodiscard]] std::optional<uint64_t> Enter(socket_t socket) {
    std::lock_guard lock(mutex_);
    --starting_;
    if (stopping_)
      return std::nullopt;
    entries_.push_back({++lastId_, socket, Clock::now()});
    return lastId_;
  }
  void HeadRead(uint64_t id) {
    std::lock_guard lock(mutex_);
    for (Entry& entry : entries_) {
      if (entry.Id == id)
        entry.HeadRead = true;
    }
  }
  // Before the socket is closed, so that a later connection given the same socket is never
  // shut down in its place.
  void Leave(uint64_t id) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [id](const Entry& entry) { return entry.Id == id; });
  }
  void CloseOverdue() {
    std::lock_guard lock(mutex_);
    const Clock::time_point due = Clock::now() - std::chrono::milliseconds(limits_.HeadTimeoutMs);
    for (Entry& entry : entries_) {
      if (!entry.HeadRead && entry.Accepted < due)
        Close(entry);
    }
  }
  void CloseAll() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (Entry& entry : entries_)
      Close(entry);
  }

 private:
  struct Entry {
    uint64_t Id = 0;
    socket_t Socket;
    Clock::time_point Accepted;
    bool HeadRead = false;
    bool Closing = false;
  };

  [[nodiscard]] size_t Limit() const {
    return static_cast<size_t>(std::max(limits_.MaxConnections, 1));
  }
  [[nodiscard]] size_t Open() const {
    return starting_ +
           static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(),
                                             [](const Entry& entry) { return !entry.Closing; }));
  }
  bool CloseOldestUnread() {
    for (Entry& entry : entries_) {
      if (!entry.HeadRead && !entry.Closing) {
        Close(entry);
        return true;
      }
    }
    return false;
  }
  static void Close(Entry& entry) {
    if (entry.Closing)
      return;
    entry.Closing = true;
    httplib::detail::shutdown_socket(entry.Socket);
  }

  const PageServerLimits limits_;
  std::mutex mutex_;
  std::vector<Entry> entries_;  // oldest first
  size_t starting_ = 0;         // admitted, their threads not yet in
  uint64_t lastId_ = 0;
  bool stopping_ = false;
};

// Set on the listener's thread while it closes a connection it refused.
thread_local bool tRefusing = false;

// The library's task queue, made the connections' threads: one thread per admitted connection,
// and the table's sweep on every new connection and every idle tick of the listener. Only the
// listener's thread calls it.
class ConnectionThreads final : public httplib::TaskQueue {
 public:
  explicit ConnectionThreads(ConnectionTable& table) : table_(table) {}

  void enqueue(std::function<void()> serve) override {
    Reap();
    table_.CloseOverdue();
    if (table_.Admit()) {
      try {
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::thread thread([serve, done] {
          serve();
          done->store(true);
        });
        workers_.push_back({std::move(thread), std::move(done)});
        return;
      } catch (...) {
        table_.Abandon();
      }
    }
    tRefusing = true;
    serve();
    tRefusing = false;
  }

  void on_idle() override {
    Reap();
    table_.CloseOverdue();
  }

  void shutdown() override {
    table_.CloseAll();
    for (Worker& worker : workers_)
      worker.Thread.join();
    workers_.clear();
  }

 private:
  struct Worker {
    std::thread Thread;
    std::shared_ptr<std::atomic<bool>> Done;
  };

  void Reap() {
    std::erase_if(workers_, [](Worker& worker) {
      if (!worker.Done->load())
        return false;
      worker.Thread.join();
      return true;
    });
  }

  ConnectionTable& table_;
  std::vector<Worker> workers_;
};

// The request as the library reads it, cut off once its head has taken all the bytes a head
// may have: the library then sees the request end there and refuses it.
class HeadLimitedStream final : public httplib::Stream {
 public:
  HeadLimitedStream(httplib::Stream& inner, size_t budget) : inner_(inner), left_(budget) {}

  bool is_readable() const override { return left_ > 0 && inner_.is_readable(); }
  bool is_writable() const override { return inner_.is_writable(); }
  ssize_t read(char* ptr, size_t size) override {
    if (left_ == 0)
      return 0;
    const ssize_t got = inner_.read(ptr, std::min(size, left_));
    if (got > 0)
      left_ -= static_cast<size_t>(got);
    return got;
  }
  ssize_t write(const char* ptr, size_t size) override { return inner_.write(ptr, size); }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    inner_.get_remote_ip_and_port(ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    inner_.get_local_ip_and_port(ip, port);
  }
  socket_t socket() const override { return inner_.socket(); }

 private:
  httplib::Stream& inner_;
  size_t left_;
};

std::pair<time_t, time_t> SecondsAndMicros(int milliseconds) {
  return {milliseconds / 1000, static_cast<time_t>(milliseconds % 1000) * 1000};
}

// The library's server with one request per connection, the head's limits, and the connections'
// threads above.
class LimitedServer final : public httplib::Server {
 public:
  explicit LimitedServer(const PageServerLimits& limits) : limits_(limits), table_(limits) {
    new_task_queue = [this] { return new ConnectionThreads(table_); };
    set_keep_alive_max_count(1);
    set_keep_alive_timeout(std::max<time_t>(1, (limits.HeadTimeoutMs + 999) / 1000));
    const auto [readSeconds, readMicros] = SecondsAndMicros(limits.HeadTimeoutMs);
    set_read_timeout(readSeconds, readMicros);
    const auto [sendSeconds, sendMicros] = SecondsAndMicros(limits.SendTimeoutMs);
    set_write_timeout(sendSeconds, sendMicros);
    const int sweepMs =
        std::clamp(limits.HeadTimeoutMs / kSweepsPerHeadTimeout, kShortestSweepMs, kLongestSweepMs);
    const auto [sweepSeconds, sweepMicros] = SecondsAndMicros(sweepMs);
    set_idle_interval(sweepSeconds, sweepMicros);
    set_address_family(AF_INET);
    set_socket_options([](socket_t socket) {
      platform::listen_socket::Prepare(static_cast<std::uintptr_t>(socket));
    });
  }

  // Closes a listening socket that was bound but never listened on.
  void ReleaseUnused() {
    const socket_t socket = svr_sock_.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET)
      httplib::detail::close_socket(socket);
  }

 private:
  bool process_and_close_socket(socket_t socket) override {
    bool served = false;
    if (!tRefusing) {
      try {
        served = Serve(socket);
      } catch (...) {
        // The connection is closed below; the server goes on.
      }
    }
    httplib::detail::shutdown_socket(socket);
    httplib::detail::close_socket(socket);
    return served;
  }

  bool Serve(socket_t socket) {
    const std::optional<uint64_t> id = table_.Enter(socket);
    if (!id)
      return false;
    const bool served = httplib::detail::process_server_socket(
        svr_sock_, socket, 1, keep_alive_timeout_sec_, read_timeout_sec_, read_timeout_usec_,
        write_timeout_sec_, write_timeout_usec_,
        [this, &id](httplib::Stream& stream, bool closeConnection, bool& connectionClosed) {
          HeadLimitedStream limited(stream, limits_.MaxHeadBytes);
          return process_request(limited, closeConnection, connectionClosed,
                                 [this, &id](httplib::Request&) { table_.HeadRead(*id); });
        });
    table_.Leave(*id);
    return served;
  }

  const PageServerLimits limits_;
  ConnectionTable table_;
};

}  // namespace

class HttplibPageServer::Running {
 public:
  explicit Running(const PageServerLimits& limits) : Server(limits) {}

  LimitedServer Server;
  std::thread Listener;
};

HttplibPageServer::HttplibPageServer(PageServerLimits limits) : limits_(limits) {}

HttplibPageServer::~HttplibPageServer() {
  Stop();
}

ListenResult HttplibPageServer::Start(const std::string& address, uint16_t port,
                                      const std::string& path,
                                      std::function<platform::ServedPage()> page) {
  Stop();
  std::lock_guard lock(mutex_);
  auto running = std::make_unique<Running>(limits_);
  LimitedServer& server = running->Server;
  server.set_pre_routing_handler(
      [path, page = std::move(page)](const httplib::Request& request, httplib::Response& response) {
        if (request.path != path) {
          response.status = 404;
        } else if (request.method != "GET" && request.method != "HEAD") {
          response.status = 405;
          response.set_header("Allow", "GET, HEAD");
        } else {
          const platform::ServedPage served = page();
          response.set_content(served.Body, served.ContentType);
        }
        return httplib::Server::HandlerResponse::Handled;
      });
  if (!server.bind_to_port(address, port, AI_NUMERICHOST))
    return platform::listen_socket::WhyBindFails(address, port);
  auto ended = std::make_shared<std::atomic<bool>>(false);
  try {
    running->Listener = std::thread([&server, ended] {
      try {
        server.listen_after_bind();
      } catch (...) {
        // Nothing more is served; Stop still joins this thread.
      }
      ended->store(true);
    });
  } catch (...) {
    server.ReleaseUnused();
    return ListenResult::Failed;
  }
  // The listener counts as running only once its loop has begun: a stop before that would not
  // reach it.
  const Clock::time_point giveUp = Clock::now() + kListenerStartWait;
  while (!server.is_running() && !ended->load() && Clock::now() < giveUp)
    std::this_thread::yield();
  running_ = std::move(running);
  return server.is_running() ? ListenResult::Listening : ListenResult::Failed;
}

void HttplibPageServer::Stop() {
  std::lock_guard lock(mutex_);
  if (!running_)
    return;
  running_->Server.stop();
  running_->Server.ReleaseUnused();
  if (running_->Listener.joinable())
    running_->Listener.join();
  running_.reset();
}

bool HttplibPageServer::Listening() const {
  std::lock_guard lock(mutex_);
  return running_ != nullptr && running_->Server.is_running();
}

}  // namespace tarvik::httplib_server
