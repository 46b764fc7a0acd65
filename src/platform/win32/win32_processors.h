#pragma once

#include <windows.h>

#include <powrprof.h>

#include "platform/processors.h"
#include "platform/win32/handles.h"
#include "platform/win32/process_list.h"

namespace tarvik::win32 {

// Processor times, idle times and the process list from ntdll's NtQuerySystemInformation, and
// power information and the throttle policy from powrprof, both bound at run time; any of them
// may be missing.
class Win32Processors final : public platform::Processors {
 public:
  Win32Processors();

  [[nodiscard]] std::optional<std::vector<platform::ProcessorTime>> Times() override;
  [[nodiscard]] std::optional<std::vector<uint64_t>> IdleTimes() override;
  [[nodiscard]] std::optional<std::vector<platform::ProcessorPower>> Power(int count) override;
  [[nodiscard]] std::optional<int> ThrottlePolicy() override;
  [[nodiscard]] std::optional<platform::ProcessCounts> Counts() override;
  [[nodiscard]] platform::TimestampReading ReadTimestamp() override;

 private:
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

  // powrprof's functions, each null when the library lacks it.
  struct PowerFunctions {
    decltype(&::CallNtPowerInformation) CallNtPowerInformation = nullptr;
    decltype(&::GetActivePwrScheme) GetActivePwrScheme = nullptr;
    decltype(&::ReadProcessorPwrScheme) ReadProcessorPwrScheme = nullptr;
  };

  // `count` records of one information class; nothing when the class is refused.
  template <typename Record>
  [[nodiscard]] std::optional<std::vector<Record>> PerProcessor(ULONG informationClass);

  QuerySystemInformation querySystemInformation_ = nullptr;
  ProcessList processes_;
  UniqueModule powrprof_;
  PowerFunctions power_;
  int processorCount_ = 1;
};

}  // namespace tarvik::win32
