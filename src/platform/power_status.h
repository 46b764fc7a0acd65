#pragma once

#include <cstdint>
#include <optional>

namespace tarvik::platform {

// The power supply as the system reports it.
struct PowerStatus {
  uint8_t AcLine = 0;              // 0 on battery, 1 plugged in, 255 unknown
  uint8_t BatteryFlags = 0;        // 8 while charging, 128 without a battery
  uint8_t BatteryLifePercent = 0;  // 0-100, 255 unknown
};

class PowerSource {
 public:
  virtual ~PowerSource() = default;
  [[nodiscard]] virtual std::optional<PowerStatus> Status() = 0;
};

}  // namespace tarvik::platform
