#pragma once

#include "platform/environment.h"

namespace tarvik::win32 {

class Win32Environment final : public platform::Environment {
 public:
  [[nodiscard]] std::wstring ProgramFile() const override;
  [[nodiscard]] std::wstring AppDataFolder() const override;
  [[nodiscard]] int UserDefaultLanguageId() const override;
  [[nodiscard]] int LogicalProcessorCount() const override;
  void Beep(int hertz, int milliseconds) override;
  bool OpenFolder(const std::wstring& folder) override;
  void SetCurrentThreadPriority(int level) override;
};

// The Windows thread priority for a level of 1 (lowest) to 31 (highest), 16 being normal.
[[nodiscard]] int ThreadPriorityForLevel(int level);

}  // namespace tarvik::win32
