#pragma once

#include <cstdint>

namespace tarvik::platform {

// When the user last touched the keyboard or mouse.
class UserActivity {
 public:
  virtual ~UserActivity() = default;
  // The system's tick count at the last input; only its changes matter.
  [[nodiscard]] virtual uint32_t LastInputTick() = 0;
};

}  // namespace tarvik::platform
