#pragma once

#include "platform/display.h"
#include "platform/memory.h"
#include "platform/power_status.h"
#include "platform/user_activity.h"

namespace tarvik::win32 {

class Win32Display final : public platform::Display {
 public:
  [[nodiscard]] std::optional<platform::DisplayFacts> Current() override;
};

class Win32Memory final : public platform::Memory {
 public:
  [[nodiscard]] std::optional<platform::MemoryStatus> Status() override;
};

class Win32PowerSource final : public platform::PowerSource {
 public:
  [[nodiscard]] std::optional<platform::PowerStatus> Status() override;
};

class Win32UserActivity final : public platform::UserActivity {
 public:
  [[nodiscard]] uint32_t LastInputTick() override;
};

}  // namespace tarvik::win32
