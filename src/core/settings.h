#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/settings_index.h"

namespace tarvik {

// The shared state record: every option, run-time flag, request, geometry value and colour,
// one 32-bit integer each. Requests follow one protocol: the requester writes any text it hands
// over first and then stores the request (release); the server takes it (acquire), serves it
// and clears it.
class Settings {
 public:
  static constexpr int kCount = 881;

  Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  [[nodiscard]] int32_t Get(int index) const;
  void Set(int index, int32_t value);
  [[nodiscard]] bool IsOn(int index) const { return Get(index) >= 1; }
  void Toggle(int index);

  // Requests: Request() publishes, Take() reads and clears in one step so that a request set
  // while the server works on the previous one is not lost.
  void Request(int index, int32_t value = 1);
  [[nodiscard]] int32_t Take(int index, int32_t idle = 0);
  // Takes a request only when it holds `value` (a request that several servers share, each
  // serving its own values, such as the copy request's panel numbers); true when taken.
  [[nodiscard]] bool TakeIfEquals(int index, int32_t value, int32_t idle);

  void Clear();

 private:
  std::array<std::atomic<int32_t>, kCount> values_;
};

}  // namespace tarvik
