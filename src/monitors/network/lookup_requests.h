#pragma once

#include <cstdint>
#include <optional>

namespace tarvik {

// When the external address lookup runs. A request is kept until a lookup starts for it, so one
// made while a lookup is under way runs after it. The monitor's own requests (an address or the
// number of connections changed) start at most one lookup per 10 s, so that a link that comes
// and goes cannot use up the service's allowance (45 a minute) and be refused; they wait, they
// are not dropped. The user's request (F5) is never held back.
class LookupRequests {
 public:
  static constexpr int64_t kAutomaticSpacingMs = 10'000;

  void Automatic() { automatic_ = true; }
  void ByUser() { byUser_ = true; }
  // A lookup is asked for and may start at `tickMs`.
  [[nodiscard]] bool Due(int64_t tickMs) const;
  // A lookup started at `tickMs`; it serves every request made until now.
  void Started(int64_t tickMs);

 private:
  bool automatic_ = false;
  bool byUser_ = false;
  std::optional<int64_t> lastStartMs_;
};

}  // namespace tarvik
