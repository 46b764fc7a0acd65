#include "platform/win32/win32_own_process.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include "platform/win32/handles.h"

namespace tarvik::win32 {
namespace {

constexpr uint64_t kFileTimeUnitsPerMs = 10'000;

uint64_t FileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The threads of this process in a snapshot of the system's thread list; nothing when the
// snapshot could not be taken.
std::optional<uint32_t> OwnThreadCount() {
  const UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot)
    return std::nullopt;
  const DWORD self = ::GetCurrentProcessId();
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  uint32_t count = 0;
  for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more;
       more = ::Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID == self)
      ++count;
  }
  return count;
}

}  // namespace

std::optional<platform::OwnProcessorTime> Win32OwnProcess::ProcessorTime() {
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
    return std::nullopt;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const uint64_t start = FileTimeValue(created);
  const uint64_t current = FileTimeValue(now);
  // A system clock set back since the start leaves the age unknown rather than huge.
  const uint64_t age = current > start ? current - start : 0;
  return platform::OwnProcessorTime{FileTimeValue(kernel) + FileTimeValue(user),
                                    static_cast<int64_t>(age / kFileTimeUnitsPerMs)};
}

std::optional<platform::OwnProcessFigures> Win32OwnProcess::Figures() {
  const HANDLE self = ::GetCurrentProcess();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (!::K32GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof(memory)))
    return std::nullopt;
  DWORD handles = 0;
  if (!::GetProcessHandleCount(self, &handles))
    return std::nullopt;
  const std::optional<uint32_t> threads = OwnThreadCount();
  if (!threads)
    return std::nullopt;
  return platform::OwnProcessFigures{.PrivateBytes = memory.PrivateUsage,
                                     .WorkingSetBytes = memory.WorkingSetSize,
                                     .Threads = *threads,
                                     .Handles = handles,
                                     .GdiObjects = ::GetGuiResources(self, GR_GDIOBJECTS)};
}

}  // namespace tarvik::win32
