#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/colour.h"

namespace tarvik {

// The battery as the power status reports it.
struct BatteryReading {
  int Percent = -1;  // -1: no battery, or no charge level known
  int AcStatus = 0;  // 0 on battery; anything else counts as plugged in
  bool Charging = false;
};

// The reported charge byte: 0-100 is a level, anything else (255 above all) means unknown.
[[nodiscard]] int BatteryPercentFromByte(uint8_t lifePercent);

struct BatteryTexts {
  std::wstring Text;    // the meter: "None", "100%" or " 42% "
  std::wstring Status;  // " Plugged in, charging"; empty without a battery
};

[[nodiscard]] BatteryTexts MakeBatteryTexts(const BatteryReading& reading);

// The system event for a battery change: "Batt:42%", followed by the status when that changed.
// Nothing when neither text moved.
[[nodiscard]] std::optional<std::wstring> BatteryEventText(const BatteryTexts& previous,
                                                           const BatteryTexts& now);

// A low battery (0-20 % and not charging) makes the meter blink.
[[nodiscard]] bool BatteryBlinks(const BatteryReading& reading);

struct MeterColours {
  Colour Back = 0;
  Colour Text = 0;
};

// The battery meter's colours, the inverted pair on every other pass while it blinks.
[[nodiscard]] MeterColours BatteryMeterColours(bool inverted);

}  // namespace tarvik
