#include "platform/win32/win32_own_process.h"

#include <windows.h>

#include <psapi.h>

#include "platform/os_call_count.h"

namespace tarvik::win32 {
namespace {

constexpr uint64_t kFileTimeUnitsPerMs = 10'000;
// File times count 100 ns steps from 1601-01-01; Unix time counts seconds from 1970-01-01.
constexpr uint64_t kFileTimeUnitsPerSecond = 10'000'000;
constexpr uint64_t kFileTimeUnitsFrom1601To1970 = 116'444'736'000'000'000;

uint64_t FileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::optional<PROCESS_MEMORY_COUNTERS_EX> MemoryCounters() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof(memory)))
    return std::nullopt;
  return memory;
}

}  // namespace

std::optional<platform::OwnProcessorTime> Win32OwnProcess::ProcessorTime() {
  TARVIK_COUNT_OS_CALL("GetProcessTimes");
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
  const uint64_t sinceUnixEpoch =
      start > kFileTimeUnitsFrom1601To1970 ? start - kFileTimeUnitsFrom1601To1970 : 0;
  return platform::OwnProcessorTime{FileTimeValue(kernel) + FileTimeValue(user),
                                    static_cast<int64_t>(age / kFileTimeUnitsPerMs),
                                    static_cast<int64_t>(sinceUnixEpoch / kFileTimeUnitsPerSecond)};
}

std::optional<uint64_t> Win32OwnProcess::WorkingSetBytes() {
  TARVIK_COUNT_OS_CALL("GetProcessMemoryInfo");
  const std::optional<PROCESS_MEMORY_COUNTERS_EX> memory = MemoryCounters();
  if (!memory)
    return std::nullopt;
  return memory->WorkingSetSize;
}

std::optional<platform::OwnProcessFigures> Win32OwnProcess::Figures() {
  TARVIK_COUNT_OS_CALL("GetProcessMemoryInfo and process list");
  const std::optional<PROCESS_MEMORY_COUNTERS_EX> memory = MemoryCounters();
  if (!memory)
    return std::nullopt;
  platform::OwnProcessFigures figures{
      .PrivateBytes = memory->PrivateUsage,
      .WorkingSetBytes = memory->WorkingSetSize,
      .GdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)};
  const auto id = static_cast<ULONG_PTR>(::GetCurrentProcessId());
  bool found = false;
  const bool read = processes_.Visit([&](const SYSTEM_PROCESS_INFORMATION& process) {
    if (reinterpret_cast<ULONG_PTR>(process.UniqueProcessId) != id)
      return;
    found = true;
    figures.Threads = process.NumberOfThreads;
    figures.Handles = process.HandleCount;
  });
  if (!read || !found)
    return std::nullopt;
  return figures;
}

}  // namespace tarvik::win32
