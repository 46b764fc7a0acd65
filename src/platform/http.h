#pragma once

#include <optional>
#include <string>

namespace tarvik::platform {

// How long one request may take: to connect (name lookup included), and in all.
struct HttpLimits {
  int ConnectTimeoutMs = 0;
  int TotalTimeoutMs = 0;
};

// One HTTP GET at a time per caller; the call blocks for at most the limits given.
class Http {
 public:
  virtual ~Http() = default;
  // The body of a 2xx answer; none when no such answer came within the limits.
  [[nodiscard]] virtual std::optional<std::string> Get(const std::string& url,
                                                       const HttpLimits& limits) = 0;
};

}  // namespace tarvik::platform
