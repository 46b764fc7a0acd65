#include "platform/win32/win32_own_process.h"

#include <windows.h>
#include <psapi.h>

namespace tarvik::win32 {
namespace {

// File times count 100 ns steps from 1601-01-01; Unix time counts seconds from 1970-01-01.
constexpr int64_t kStepsPerSecond = 10'000'000;
constexpr int64_t kStepsFrom1601To1970 = 116'444'736'000'000'000;

int64_t StepsOf(const FILETIME& time) {
  return static_cast<int64_t>(static_cast<uint64_t>(time.dwHighDateTime) << 32 |
                              time.dwLowDateTime);
}

}  // namespace

std::optional<platform::ProcessFigures> Win32OwnProcess::Figures() {
  const HANDLE self = ::GetCurrentProcess();
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(self, &created, &exited, &kernel, &user))
    return std::nullopt;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  if (!::GetProcessMemoryInfo(self, &memory, sizeof(memory)))
    return std::nullopt;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  platform::ProcessFigures figures;
  figures.CpuSeconds =
      static_cast<double>(StepsOf(kernel) + StepsOf(user)) / static_cast<double>(kStepsPerSecond);
  figures.WorkingSetBytes = static_cast<int64_t>(memory.WorkingSetSize);
  figures.StartTimeUnixSeconds = (StepsOf(created) - kStepsFrom1601To1970) / kStepsPerSecond;
  figures.UptimeSeconds = (StepsOf(now) - StepsOf(created)) / kStepsPerSecond;
  return figures;
}

}  // namespace tarvik::win32
