#pragma once

#include <optional>
#include <string>

#include "platform/http.h"

namespace tarvik::curl {

// The HTTP GET through libcurl. libcurl is the same on both systems, so the Windows build
// compiles this file too (there libcurl speaks TLS through Schannel). Made once, on the main
// thread, before any thread may call Get.
class CurlHttp final : public platform::Http {
 public:
  CurlHttp();
  ~CurlHttp() override;
  CurlHttp(const CurlHttp&) = delete;
  CurlHttp& operator=(const CurlHttp&) = delete;

  [[nodiscard]] std::optional<std::string> Get(const std::string& url,
                                               const platform::HttpLimits& limits,
                                               const platform::HttpAbandon& abandon) override;

 private:
  bool ready_ = false;
};

}  // namespace tarvik::curl
