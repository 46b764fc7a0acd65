#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "platform/http.h"

namespace tarvik::curl {

// The HTTP GET through libcurl. libcurl is the same on both systems, so the Windows build
// compiles this file too (there libcurl speaks TLS through Schannel). libcurl starts at the first
// request, not when this is made: starting it brings in the TLS libraries (on Windows the
// security provider and what it loads), which a program that never looks anything up does not
// need.
class CurlHttp final : public platform::Http {
 public:
  CurlHttp() = default;
  ~CurlHttp() override;
  CurlHttp(const CurlHttp&) = delete;
  CurlHttp& operator=(const CurlHttp&) = delete;

  [[nodiscard]] std::optional<std::string> Get(const std::string& url,
                                               const platform::HttpLimits& limits,
                                               const platform::HttpAbandon& abandon) override;

 private:
  // Starts libcurl once, whichever thread asks first; true when it started.
  [[nodiscard]] bool Ready();

  std::once_flag started_;
  bool ready_ = false;
};

}  // namespace tarvik::curl
