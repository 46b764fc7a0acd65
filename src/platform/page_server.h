#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tarvik::platform {

// How a page server may be used: connections at once, bytes of a request's head, the time a
// client has to send its whole head, and the time one send of the answer may wait for a client.
struct PageServerLimits {
  int MaxConnections = 8;
  size_t MaxHeadBytes = 8 * 1024;
  int HeadTimeoutMs = 5'000;
  int SendTimeoutMs = 5'000;
};

// Why a server did not start listening.
enum class ListenResult {
  Listening,
  AddressInUse,         // another program listens on the port
  AddressNotAvailable,  // the address is not one of this machine's
  Failed,
};

struct ServedPage {
  std::string ContentType;
  std::string Body;
};

// Serves one page over HTTP on one IPv4 address and port: GET and HEAD of its path answer the
// page, any other method there 405, any other path 404. A client that sends nothing, or too
// slowly, or too much, is closed without holding up another; at the limit of connections a new
// one pushes out the oldest that has not sent its whole request yet. The page is asked for on
// the server's own threads, one call per request.
class PageServer {
 public:
  virtual ~PageServer() = default;
  // Stops any listening first; returns once the listener runs or failed.
  [[nodiscard]] virtual ListenResult Start(const std::string& address, uint16_t port,
                                           const std::string& path,
                                           std::function<ServedPage()> page) = 0;
  // Closes the listener and every connection and returns once the server's threads have ended;
  // nothing runs while it is stopped.
  virtual void Stop() = 0;
  [[nodiscard]] virtual bool Listening() const = 0;
};

}  // namespace tarvik::platform
