#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tarvik::platform {

// How long one request may take: to connect (name lookup included), and in all; and how long an
// answer's body may be.
struct HttpLimits {
  int ConnectTimeoutMs = 0;
  int TotalTimeoutMs = 0;
  size_t MostBodyBytes = 64 * 1024;
};

// Asked again and again while a request runs; true gives the request up at once (the program is
// shutting down).
using HttpAbandon = std::function<bool()>;

// One HTTP GET at a time per caller; the call blocks for at most the limits given.
class Http {
 public:
  virtual ~Http() = default;
  // The body of a 2xx answer; none when no such answer came within the limits or the request
  // was abandoned.
  [[nodiscard]] virtual std::optional<std::string> Get(const std::string& url,
                                                       const HttpLimits& limits,
                                                       const HttpAbandon& abandon) = 0;
};

}  // namespace tarvik::platform
