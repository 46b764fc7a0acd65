#include "platform/win32/win32_processors.h"

#include <string>

#include "platform/win32/proc_address.h"
#include "platform/win32/system_folder.h"

namespace tarvik::win32 {
namespace {

constexpr ULONG kProcessorPerformanceClass = 8;  // SystemProcessorPerformanceInformation
constexpr int kProcessorInformationLevel = 11;   // ProcessorInformation

struct ProcessorPerformanceRecord {
  LARGE_INTEGER IdleTime;
  LARGE_INTEGER KernelTime;
  LARGE_INTEGER UserTime;
  LARGE_INTEGER DpcTime;
  LARGE_INTEGER InterruptTime;
  ULONG InterruptCount;
};

struct ProcessorPowerRecord {
  ULONG Number;
  ULONG MaxMhz;
  ULONG CurrentMhz;
  ULONG MhzLimit;
  ULONG MaxIdleState;
  ULONG CurrentIdleState;
};

}  // namespace

Win32Processors::Win32Processors() {
  if (const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll"))
    querySystemInformation_ =
        ProcAddress<QuerySystemInformation>(ntdll, "NtQuerySystemInformation");
  // Loaded by its full path, so that no copy beside the program is taken instead.
  const std::wstring powrprof = SystemFolderFile(L"powrprof.dll");
  if (!powrprof.empty())
    powrprof_.Reset(::LoadLibraryW(powrprof.c_str()));
  if (powrprof_)
    callPowerInformation_ =
        ProcAddress<CallPowerInformation>(powrprof_.Get(), "CallNtPowerInformation");
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  processorCount_ = static_cast<int>(system.dwNumberOfProcessors);
}

std::optional<std::vector<platform::ProcessorTime>> Win32Processors::Times() {
  if (!querySystemInformation_ || processorCount_ < 1)
    return std::nullopt;
  std::vector<ProcessorPerformanceRecord> records(static_cast<size_t>(processorCount_));
  ULONG returned = 0;
  const ULONG size = static_cast<ULONG>(records.size() * sizeof(ProcessorPerformanceRecord));
  if (querySystemInformation_(kProcessorPerformanceClass, records.data(), size, &returned) != 0)
    return std::nullopt;
  records.resize(returned / sizeof(ProcessorPerformanceRecord));
  std::vector<platform::ProcessorTime> times;
  for (const ProcessorPerformanceRecord& record : records) {
    times.push_back({static_cast<uint64_t>(record.IdleTime.QuadPart),
                     static_cast<uint64_t>(record.KernelTime.QuadPart),
                     static_cast<uint64_t>(record.UserTime.QuadPart)});
  }
  return times;
}

std::optional<std::vector<platform::ProcessorPower>> Win32Processors::Power(int count) {
  if (!callPowerInformation_ || count < 1)
    return std::nullopt;
  std::vector<ProcessorPowerRecord> records(static_cast<size_t>(count));
  const ULONG size = static_cast<ULONG>(records.size() * sizeof(ProcessorPowerRecord));
  if (callPowerInformation_(kProcessorInformationLevel, nullptr, 0, records.data(), size) != 0)
    return std::nullopt;
  std::vector<platform::ProcessorPower> power;
  for (const ProcessorPowerRecord& record : records) {
    power.push_back({record.MaxMhz, record.CurrentMhz, record.MhzLimit, record.MaxIdleState,
                     record.CurrentIdleState});
  }
  return power;
}

}  // namespace tarvik::win32
