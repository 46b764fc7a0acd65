#include "platform/win32/win32_processors.h"

#include <winternl.h>

#include <intrin.h>

#include <algorithm>
#include <string>

#include "platform/os_call_count.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

constexpr ULONG kProcessorPerformanceClass = 8;  // SystemProcessorPerformanceInformation
constexpr ULONG kProcessorIdleClass = 42;        // SystemProcessorIdleInformation

struct ProcessorPerformanceRecord {
  LARGE_INTEGER IdleTime;
  LARGE_INTEGER KernelTime;
  LARGE_INTEGER UserTime;
  LARGE_INTEGER DpcTime;
  LARGE_INTEGER InterruptTime;
  ULONG InterruptCount;
};

struct ProcessorIdleRecord {
  ULONGLONG IdleTime;
  ULONGLONG C1Time;
  ULONGLONG C2Time;
  ULONGLONG C3Time;
  ULONG C1Transitions;
  ULONG C2Transitions;
  ULONG C3Transitions;
  ULONG Padding;
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
  powrprof_.Reset(LoadSystemLibrary(L"powrprof.dll"));
  if (powrprof_) {
    const HMODULE module = powrprof_.Get();
    power_.CallNtPowerInformation =
        ProcAddress<decltype(power_.CallNtPowerInformation)>(module, "CallNtPowerInformation");
    power_.GetActivePwrScheme =
        ProcAddress<decltype(power_.GetActivePwrScheme)>(module, "GetActivePwrScheme");
    power_.ReadProcessorPwrScheme =
        ProcAddress<decltype(power_.ReadProcessorPwrScheme)>(module, "ReadProcessorPwrScheme");
  }
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  processorCount_ = static_cast<int>(system.dwNumberOfProcessors);
}

template <typename Record>
std::optional<std::vector<Record>> Win32Processors::PerProcessor(ULONG informationClass) {
  if (!querySystemInformation_ || processorCount_ < 1)
    return std::nullopt;
  std::vector<Record> records(static_cast<size_t>(processorCount_));
  ULONG returned = 0;
  const auto size = static_cast<ULONG>(records.size() * sizeof(Record));
  if (querySystemInformation_(informationClass, records.data(), size, &returned) != 0)
    return std::nullopt;
  records.resize(returned / sizeof(Record));
  return records;
}

std::optional<std::vector<platform::ProcessorTime>> Win32Processors::Times() {
  TARVIK_COUNT_OS_CALL("NtQuerySystemInformation processor times");
  const auto records = PerProcessor<ProcessorPerformanceRecord>(kProcessorPerformanceClass);
  if (!records)
    return std::nullopt;
  std::vector<platform::ProcessorTime> times;
  for (const ProcessorPerformanceRecord& record : *records) {
    times.push_back({static_cast<uint64_t>(record.IdleTime.QuadPart),
                     static_cast<uint64_t>(record.KernelTime.QuadPart),
                     static_cast<uint64_t>(record.UserTime.QuadPart)});
  }
  return times;
}

// Wine and older systems refuse the class.
std::optional<std::vector<uint64_t>> Win32Processors::IdleTimes() {
  TARVIK_COUNT_OS_CALL("NtQuerySystemInformation processor idle times");
  const auto records = PerProcessor<ProcessorIdleRecord>(kProcessorIdleClass);
  if (!records || records->empty())
    return std::nullopt;
  std::vector<uint64_t> idle;
  for (const ProcessorIdleRecord& record : *records)
    idle.push_back(record.IdleTime);
  return idle;
}

std::optional<std::vector<platform::ProcessorPower>> Win32Processors::Power(int count) {
  TARVIK_COUNT_OS_CALL("CallNtPowerInformation");
  if (!power_.CallNtPowerInformation || count < 1)
    return std::nullopt;
  std::vector<ProcessorPowerRecord> records(static_cast<size_t>(count));
  const auto size = static_cast<ULONG>(records.size() * sizeof(ProcessorPowerRecord));
  if (power_.CallNtPowerInformation(ProcessorInformation, nullptr, 0, records.data(), size) != 0)
    return std::nullopt;
  std::vector<platform::ProcessorPower> power;
  for (const ProcessorPowerRecord& record : records) {
    power.push_back({record.MaxMhz, record.CurrentMhz, record.MhzLimit, record.MaxIdleState,
                     record.CurrentIdleState});
  }
  return power;
}

std::optional<int> Win32Processors::ThrottlePolicy() {
  TARVIK_COUNT_OS_CALL("GetActivePwrScheme and ReadProcessorPwrScheme");
  if (!power_.GetActivePwrScheme || !power_.ReadProcessorPwrScheme)
    return std::nullopt;
  UINT scheme = 0;
  if (!power_.GetActivePwrScheme(&scheme))
    return std::nullopt;
  MACHINE_PROCESSOR_POWER_POLICY policy{};
  if (!power_.ReadProcessorPwrScheme(scheme, &policy))
    return std::nullopt;
  return policy.ProcessorPolicyAc.DynamicThrottle;
}

std::optional<platform::ProcessCounts> Win32Processors::Counts() {
  TARVIK_COUNT_OS_CALL("NtQuerySystemInformation process list");
  platform::ProcessCounts counts;
  const bool read = processes_.Visit([&counts](const SYSTEM_PROCESS_INFORMATION& process) {
    ++counts.Processes;
    counts.Threads += process.NumberOfThreads;
    counts.Handles += process.HandleCount;
  });
  if (!read)
    return std::nullopt;
  return counts;
}

platform::TimestampReading Win32Processors::ReadTimestamp() {
  TARVIK_COUNT_OS_CALL("CPUID and RDTSC");
  constexpr int kFeaturesLeaf = 1;
  constexpr int kApicIdShift = 24;
  int registers[4] = {};
  __cpuid(registers, kFeaturesLeaf);
  const auto ticks = static_cast<uint32_t>(__rdtsc());
  return {static_cast<uint32_t>(registers[1]) >> kApicIdShift, ticks};
}

}  // namespace tarvik::win32
