#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvik {

// The state text of the Internet connection flags: "Internet:Network+Proxy" and the like.
[[nodiscard]] std::wstring InternetStateText(uint32_t flags);
// Whether the flags tell of a connection: through a network, a modem or a proxy, and not offline.
[[nodiscard]] bool InternetConnected(uint32_t flags);

// When the Internet state is asked for. Asking costs the system a good deal (under Wine 9 ms of
// wall time and over 1 ms of CPU a call), and the state changes only with an adapter, a dial-up
// connection, the proxy settings or "work offline". So it is asked at the first sample, at the
// first sample after something of that kind was seen, and otherwise every 10 s in case a change
// went unseen.
class InternetQueries {
 public:
  static constexpr int64_t kSafetyIntervalMs = 10'000;

  void SomethingChanged() { changed_ = true; }
  [[nodiscard]] bool Due(int64_t tickMs) const {
    return changed_ || !lastMs_ || tickMs - *lastMs_ >= kSafetyIntervalMs;
  }
  void Asked(int64_t tickMs) {
    changed_ = false;
    lastMs_ = tickMs;
  }

 private:
  bool changed_ = false;
  std::optional<int64_t> lastMs_;
};

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
