#pragma once

#include <cstdint>
#include <optional>

#include "monitors/cost/recent_cpu.h"

namespace tarvik {

// Watches that the program's own recent processor use does not stay above 1 % of the machine:
// says so once per run, when it has stayed above for 5 minutes without a break.
class HighCpuWatch {
 public:
  static constexpr int kLimitPercent = 1;
  static constexpr int64_t kLastingMs = 5 * 60 * 1'000;

  // True only on the one pass that finds the use has lasted long enough.
  [[nodiscard]] bool Note(int64_t tickMs, const CpuSpan& recent, int processors);

 private:
  std::optional<int64_t> aboveSince_;
  bool told_ = false;
};

}  // namespace tarvik
