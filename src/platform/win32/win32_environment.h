#pragma once

#include <cstdint>

#include "platform/environment.h"

namespace tarvik::win32 {

class Win32Environment final : public platform::Environment {
 public:
  [[nodiscard]] std::wstring ProgramFile() const override;
  [[nodiscard]] std::wstring AppDataFolder() const override;
  [[nodiscard]] int UserDefaultLanguageId() const override;
  [[nodiscard]] int LogicalProcessorCount() const override;
  [[nodiscard]] std::wstring WindowsFolder() const override;
  void Beep(int hertz, int milliseconds) override;
  bool OpenFolder(const std::wstring& folder) override;
  void SetCurrentThreadPriority(int level) override;
  void NameCurrentThread(const std::wstring& name) override;
};

// The logical processors the program counts: on a machine of one processor group those its
// affinity mask allows; with several groups, whose processors no one mask can hold (a process
// spanning groups even reads a mask of 0), every group's. At least 1, at most 144.
[[nodiscard]] int CountedProcessors(int groupCount, int allGroupsCount, uint64_t affinityMask);

// The Windows thread priority for a level of 1 (lowest) to 31 (highest), 16 being normal.
[[nodiscard]] int ThreadPriorityForLevel(int level);

}  // namespace tarvik::win32
