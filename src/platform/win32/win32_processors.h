#pragma once

#include <windows.h>

#include "platform/processors.h"
#include "platform/win32/handles.h"

namespace tarvik::win32 {

// Processor times from ntdll's NtQuerySystemInformation and power information from powrprof's
// CallNtPowerInformation, both bound at run time; either may be missing.
class Win32Processors final : public platform::Processors {
 public:
  Win32Processors();

  [[nodiscard]] std::optional<std::vector<platform::ProcessorTime>> Times() override;
  [[nodiscard]] std::optional<std::vector<platform::ProcessorPower>> Power(int count) override;

 private:
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  using CallPowerInformation = LONG(WINAPI*)(int, PVOID, ULONG, PVOID, ULONG);

  QuerySystemInformation querySystemInformation_ = nullptr;
  UniqueModule powrprof_;
  CallPowerInformation callPowerInformation_ = nullptr;
  int processorCount_ = 1;
};

}  // namespace tarvik::win32
