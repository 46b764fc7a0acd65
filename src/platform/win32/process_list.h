#pragma once

#include <windows.h>

#include <winternl.h>

#include <functional>

namespace tarvik::win32 {

// The system's process list from ntdll's NtQuerySystemInformation, bound at run time.
class ProcessList {
 public:
  ProcessList();

  // Shows `visit` every process's record; false when the list could not be read.
  [[nodiscard]] bool Visit(const std::function<void(const SYSTEM_PROCESS_INFORMATION&)>& visit);

 private:
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

  QuerySystemInformation querySystemInformation_ = nullptr;
};

}  // namespace tarvik::win32
