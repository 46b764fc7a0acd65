#include "platform/posix/httplib_page_server.h"

// Connections wait for the listener in the order they came: a queue too short for a burst would
// let the system take some of them later, behind a scrape that came after them.
#define CPPHTTPLIB_LISTEN_BACKLOG 64
#include <httplib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <optional>
#include <thread>
#include <vector>

#include "platform/posix/listen_socket.h"

namespace tarvik::httplib_server {
namespace {

using Clock = std::chrono::steady_clock;
using platform::ListenResult;
using platform::PageServerLimits;

// A stop wakes the listener with a connection of its own. Where that connection cannot be made
// (the address left the machine), shutting the socket down ends the listener's wait on Linux and
// under Wine, closing it on Windows; this wake-up is the last resort for a system where neither
// does.
constexpr time_t kListenerTickSeconds = 5;
// How long the stop's own connection may take before the stop relies on the tick.
constexpr time_t kWakeConnectMicros = 500'000;
// A listener whose thread does not report within this long is given up.
constexpr std::chrono::seconds kListenerStartWait{5};
// How often the start looks whether the listener's loop has begun.
constexpr std::chrono::milliseconds kListenerStartPoll{1};
// A connection waits for its socket in slices this long, so that one the server closes ends
// within a slice.
constexpr std::chrono::milliseconds kWaitSlice{50};
// The connections admitted at most, for each place: the open ones and those pushed out, which end
// within a slice of their turn.
constexpr size_t kAdmittedPerPlace = 8;
// The connections' threads, for each place: room for the open connections and for as many pushed
// out ones ending meanwhile.
constexpr size_t kThreadsPerPlace = 2;
constexpr size_t kReadBufferBytes = 4096;
// A client that went away must not end the process with a signal where the system sends one.
#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

// What a connection's thread and the table share: the flag that closes it.
using ClosingFlag = std::shared_ptr<std::atomic<bool>>;

// A connection the library serves.
struct Admission {
  uint64_t Id = 0;
  ClosingFlag Closing;
  Clock::time_point Accepted;
};

// The connections being served, each with when it came and whether its whole request head has
// arrived. A connection is closed from outside its thread by raising its flag: its waits see it
// within a slice, and its thread closes the socket. (Shutting a socket down under a waiting thread
// wakes the wait on Linux but not on every system.)
class ConnectionTable {
 public:
  explicit ConnectionTable(const PageServerLimits& limits) : limits_(limits) {}

  // The listener accepted a connection: its entry when a thread of its own may serve it, none
  // when it is refused. At the limit the oldest connection still sending its head (or whose
  // thread has not begun) makes room; when every connection is being answered the new one is
  // refused. Connections pushed out keep their threads for a slice at most, so a burst of them
  // is bounded but not refused.
  [[nodiscard]] std::optional<Admission> Admit() {
    std::lock_guard lock(mutex_);
    if (stopping_ || entries_.size() >= kAdmittedPerPlace * Limit())
      return std::nullopt;
    if (Open() >= Limit() && !CloseOldestUnread())
      return std::nullopt;
    Entry entry{++lastId_, Clock::now(), std::make_shared<std::atomic<bool>>(false)};
    entries_.push_back(entry);
    return Admission{entry.Id, entry.Closing, entry.Accepted};
  }
  void HeadRead(uint64_t id) {
    std::lock_guard lock(mutex_);
    for (Entry& entry : entries_) {
      if (entry.Id == id)
        entry.HeadRead = true;
    }
  }
  void Leave(uint64_t id) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [id](const Entry& entry) { return entry.Id == id; });
  }
  void CloseAll() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (Entry& entry : entries_)
      entry.Closing->store(true);
  }

 private:
  struct Entry {
    uint64_t Id = 0;
    Clock::time_point Accepted;
    ClosingFlag Closing;
    bool HeadRead = false;
  };

  [[nodiscard]] size_t Limit() const {
    return static_cast<size_t>(std::max(limits_.MaxConnections, 1));
  }
  [[nodiscard]] size_t Open() const {
    return static_cast<size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const Entry& entry) { return !entry.Closing->load(); }));
  }
  bool CloseOldestUnread() {
    for (Entry& entry : entries_) {
      if (!entry.HeadRead && !entry.Closing->load()) {
        entry.Closing->store(true);
        return true;
      }
    }
    return false;
  }
  const PageServerLimits limits_;
  std::mutex mutex_;
  std::vector<Entry> entries_;  // oldest first
  uint64_t lastId_ = 0;
  bool stopping_ = false;
};

// The connection a thread serves; none on the listener's thread, which closes the connections
// it refuses at once.
thread_local std::optional<Admission> tAdmission;

// The library's task queue, made the connections' threads: the admitted connections are taken in
// the order they came by threads started as they are needed, up to a few, which then stay until
// the server stops (a scrape now and then keeps one). A connection pushed out before its turn
// ends at once when its turn comes, so a burst of idle connections costs no thread of its own; a
// refused one is closed on the listener's thread, and so is any when no thread could be started.
// Only the listener's thread queues.
class ConnectionThreads final : public httplib::TaskQueue {
 public:
  ConnectionThreads(ConnectionTable& table, size_t most) : table_(table), most_(most) {}

  void enqueue(std::function<void()> serve) override {
    if (std::optional<Admission> admission = table_.Admit()) {
      const uint64_t id = admission->Id;
      if (Queue(serve, *admission))
        return;
      table_.Leave(id);
    }
    serve();  // on the listener's thread, which has no admission: the connection is closed
  }

  void shutdown() override {
    table_.CloseAll();
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
      worker.join();
    workers_.clear();
  }

 private:
  struct Job {
    std::function<void()> Serve;
    Admission Admitted;
  };

  // False when no thread runs to serve the connection.
  bool Queue(std::function<void()>& serve, Admission& admission) {
    std::lock_guard lock(mutex_);
    if (waiting_ <= jobs_.size())
      StartThread();
    if (workers_.empty())
      return false;
    jobs_.push_back({std::move(serve), std::move(admission)});
    wake_.notify_one();
    return true;
  }

  // Under the lock. A thread that cannot be started leaves the job to those already running.
  void StartThread() {
    if (workers_.size() >= most_)
      return;
    try {
      workers_.emplace_back([this] { Work(); });
    } catch (...) {
      // The threads already running serve.
    }
  }

  // Every queued connection is served or, once the server stops, closed, before its thread ends.
  void Work() {
    for (;;) {
      Job job;
      {
        std::unique_lock lock(mutex_);
        ++waiting_;
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --waiting_;
        if (jobs_.empty())
          return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      tAdmission = std::move(job.Admitted);
      job.Serve();
      tAdmission.reset();
    }
  }

  ConnectionTable& table_;
  const size_t most_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  size_t waiting_ = 0;  // threads waiting for a job
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

// The connection as the library reads and writes it. Every wait for the socket runs in slices
// and ends once the connection is closed from outside, whatever the system makes of a socket shut
// down under a waiting thread. Reading stops at the head's deadline and, once the head has taken
// all the bytes a head may have, reads as the end of the request: the library refuses it then.
class ConnectionStream final : public httplib::Stream {
 public:
  ConnectionStream(socket_t socket, const PageServerLimits& limits, const Admission& admission)
      : socket_(socket),
        closing_(*admission.Closing),
        headLeft_(limits.MaxHeadBytes),
        headDeadline_(admission.Accepted + std::chrono::milliseconds(limits.HeadTimeoutMs)),
        sendTimeout_(limits.SendTimeoutMs) {}

  bool is_readable() const override {
    return offset_ < filled_ || (headLeft_ > 0 && WaitFor(false, headDeadline_));
  }
  bool is_writable() const override { return WaitFor(true, Clock::now() + sendTimeout_); }

  ssize_t read(char* ptr, size_t size) override {
    if (offset_ == filled_) {
      if (headLeft_ == 0)
        return 0;
      if (!WaitFor(false, headDeadline_))
        return -1;
      const ssize_t got = httplib::detail::read_socket(socket_, buffer_.data(),
                                                       std::min(buffer_.size(), headLeft_), 0);
      if (got <= 0)
        return got;
      headLeft_ -= static_cast<size_t>(got);
      filled_ = static_cast<size_t>(got);
      offset_ = 0;
    }
    const size_t taken = std::min(size, filled_ - offset_);
    std::copy_n(buffer_.data() + offset_, taken, ptr);
    offset_ += taken;
    return static_cast<ssize_t>(taken);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable())
      return -1;
    return httplib::detail::send_socket(socket_, ptr, size, kSendFlags);
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    httplib::detail::get_remote_ip_and_port(socket_, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    httplib::detail::get_local_ip_and_port(socket_, ip, port);
  }
  socket_t socket() const override { return socket_; }

 private:
  // True once the socket can be read (or written); false when the connection was closed or the
  // deadline passed first.
  bool WaitFor(bool writing, Clock::time_point deadline) const {
    while (!closing_.load()) {
      const auto left = deadline - Clock::now();
      if (left <= Clock::duration::zero())
        return false;
      const auto slice = std::chrono::duration_cast<std::chrono::microseconds>(
          std::min<Clock::duration>(left, kWaitSlice));
      const ssize_t ready =
          writing ? httplib::detail::select_write(socket_, 0, static_cast<time_t>(slice.count()))
                  : httplib::detail::select_read(socket_, 0, static_cast<time_t>(slice.count()));
      if (ready != 0)
        return ready > 0;
    }
    return false;
  }

  const socket_t socket_;
  const std::atomic<bool>& closing_;
  size_t headLeft_;
  const Clock::time_point headDeadline_;
  const std::chrono::milliseconds sendTimeout_;
  std::array<char, kReadBufferBytes> buffer_{};
  size_t offset_ = 0;
  size_t filled_ = 0;
};

std::pair<time_t, time_t> SecondsAndMicros(int milliseconds) {
  return {milliseconds / 1000, static_cast<time_t>(milliseconds % 1000) * 1000};
}

// The library's server with one request per connection, the head's limits, and the connections'
// threads above.
class LimitedServer final : public httplib::Server {
 public:
  explicit LimitedServer(const PageServerLimits& limits) : limits_(limits), table_(limits) {
    new_task_queue = [this] {
      return new ConnectionThreads(
          table_, kThreadsPerPlace * static_cast<size_t>(std::max(limits_.MaxConnections, 1)));
    };
    const auto [readSeconds, readMicros] = SecondsAndMicros(limits.HeadTimeoutMs);
    set_read_timeout(readSeconds, readMicros);
    const auto [sendSeconds, sendMicros] = SecondsAndMicros(limits.SendTimeoutMs);
    set_write_timeout(sendSeconds, sendMicros);
    set_idle_interval(kListenerTickSeconds, 0);
    set_address_family(AF_INET);
    set_socket_options([](socket_t socket) {
      platform::listen_socket::Prepare(static_cast<std::uintptr_t>(socket));
    });
  }

  // Ends the listener's loop: it sees no socket any more once its wait for a connection ends, and
  // a connection made to the listening address ends that wait at once. The socket is closed once
  // `listener` has ended, so that no wait is left on a closed socket; where the connection cannot
  // be made, it is shut down and closed first, which ends the wait where the system does so.
  void StopListener(std::thread& listener) {
    const socket_t socket = svr_sock_.exchange(INVALID_SOCKET);
    const bool woken = socket != INVALID_SOCKET && WakeAccept(socket);
    if (socket != INVALID_SOCKET && !woken) {
      httplib::detail::shutdown_socket(socket);
      httplib::detail::close_socket(socket);
    }
    if (listener.joinable())
      listener.join();
    if (woken)
      httplib::detail::close_socket(socket);
  }

  // Closes a listening socket that was bound but never listened on.
  void ReleaseUnused() {
    const socket_t socket = svr_sock_.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET)
      httplib::detail::close_socket(socket);
  }

 private:
  // Connects to the listening socket and leaves at once: the connection waiting to be accepted
  // is what wakes the listener's wait, on every system. A socket listening on every address is
  // reached through the loopback address.
  static bool WakeAccept(socket_t listening) {
    std::string address;
    int port = 0;
    httplib::detail::get_local_ip_and_port(listening, address, port);
    if (port == 0)
      return false;
    if (address.empty() || address == "0.0.0.0")
      address = "127.0.0.1";
    httplib::Error error = httplib::Error::Success;
    const socket_t wake =
        httplib::detail::create_client_socket(address, address, port, AF_INET, false, nullptr, 0,
                                              kWakeConnectMicros, 0, 0, 0, 0, std::string(), error);
    if (wake == INVALID_SOCKET)
      return false;
    httplib::detail::close_socket(wake);
    return true;
  }

  bool process_and_close_socket(socket_t socket) override {
    bool served = false;
    if (tAdmission) {
      try {
        served = Serve(socket, *tAdmission);
      } catch (...) {
        // The connection is closed below; the server goes on.
      }
      table_.Leave(tAdmission->Id);
    }
    httplib::detail::shutdown_socket(socket);
    httplib::detail::close_socket(socket);
    return served;
  }

  // One request per connection: the answer says the connection closes.
  bool Serve(socket_t socket, const Admission& admission) {
    ConnectionStream stream(socket, limits_, admission);
    bool closed = false;
    return process_request(stream, true, closed, [this, &admission](httplib::Request&) {
      table_.HeadRead(admission.Id);
    });
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
    std::this_thread::sleep_for(kListenerStartPoll);
  running_ = std::move(running);
  return server.is_running() ? ListenResult::Listening : ListenResult::Failed;
}

void HttplibPageServer::Stop() {
  std::lock_guard lock(mutex_);
  if (!running_)
    return;
  running_->Server.StopListener(running_->Listener);
  running_.reset();
}

bool HttplibPageServer::Listening() const {
  std::lock_guard lock(mutex_);
  return running_ != nullptr && running_->Server.is_running();
}

}  // namespace tarvik::httplib_server
