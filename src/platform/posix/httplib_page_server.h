#pragma once

#include <memory>
#include <mutex>

#include "platform/page_server.h"

namespace tarvik::httplib_server {

// The page server over cpp-httplib, the same code in the Windows build and the native one: the
// library reads and answers the requests; this class keeps its connections within the limits.
// While it listens, a few threads started with it take the connections in turn; stopped, none runs.
class HttplibPageServer : public platform::PageServer {
 public:
  explicit HttplibPageServer(platform::PageServerLimits limits = {});
  ~HttplibPageServer() override;
  HttplibPageServer(const HttplibPageServer&) = delete;
  HttplibPageServer& operator=(const HttplibPageServer&) = delete;

  [[nodiscard]] platform::ListenResult Start(const std::string& address, uint16_t port,
                                             const std::string& path,
                                             std::function<platform::ServedPage()> page) override;
  void Stop() override;
  [[nodiscard]] bool Listening() const override;

 private:
  class Running;

  platform::PageServerLimits limits_;
  mutable std::mutex mutex_;  // Start and Stop, one at a time
  std::unique_ptr<Running> running_;
};

}  // namespace tarvik::httplib_server
