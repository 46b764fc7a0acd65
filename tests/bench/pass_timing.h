#pragma once

#include <chrono>

namespace tarvik::bench {

// The average time of `passes` calls of `pass`, in microseconds.
template <typename Pass>
double MicrosecondsPerCall(int passes, Pass pass) {
  const auto started = std::chrono::steady_clock::now();
  for (int call = 0; call < passes; ++call)
    pass();
  const std::chrono::duration<double, std::micro> spent =
      std::chrono::steady_clock::now() - started;
  return spent.count() / passes;
}

}  // namespace tarvik::bench
