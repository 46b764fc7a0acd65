#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvik {

// The state text of the Internet connection flags: "Internet:Network+Proxy" and the like.
[[nodiscard]] std::wstring InternetStateText(uint32_t flags);
// Whether the flags tell of a connection: through a network, a modem or a proxy, and not offline.
[[nodiscard]] bool InternetConnected(uint32_t flags);

// Follows the system's Internet connection state and tells each change once. It starts as if
// the flags had been 0, so the first state is told.
class InternetWatch {
 public:
  // Takes the latest query (none: it failed); returns the event of a change.
  [[nodiscard]] std::optional<std::wstring> Take(std::optional<uint32_t> flags);
  // The state as last told, for the Networks tab.
  [[nodiscard]] const std::wstring& Text() const { return text_; }
  [[nodiscard]] std::optional<uint32_t> Flags() const { return shown_; }

 private:
  std::optional<uint32_t> shown_ = 0;  // none after a failed query was told
  std::wstring text_;
};

}  // namespace tarvik
