#include "platform/win32/process_list.h"

#include <algorithm>
#include <vector>

#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

constexpr ULONG kProcessInformationClass = 5;  // SystemProcessInformation
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kFirstProcessListBytes = 512 * 1024;
constexpr ULONG kProcessListSlackBytes = 64 * 1024;
constexpr int kProcessListTries = 4;

}  // namespace

ProcessList::ProcessList() {
  if (const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll"))
    querySystemInformation_ =
        ProcAddress<QuerySystemInformation>(ntdll, "NtQuerySystemInformation");
}

// The list grows between asking for its size and reading it, so the buffer is given room to
// spare and the read is tried again a few times.
bool ProcessList::Visit(const std::function<void(const SYSTEM_PROCESS_INFORMATION&)>& visit) {
  if (!querySystemInformation_)
    return false;
  // Whole 8-byte units: the records hold 64-bit fields and must be aligned for them.
  std::vector<ULONGLONG> buffer(kFirstProcessListBytes / sizeof(ULONGLONG));
  for (int attempt = 0; attempt < kProcessListTries; ++attempt) {
    ULONG needed = 0;
    const auto size = static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG));
    const LONG status =
        querySystemInformation_(kProcessInformationClass, buffer.data(), size, &needed);
    if (status == kInfoLengthMismatch) {
      buffer.resize((static_cast<size_t>(needed) + kProcessListSlackBytes) / sizeof(ULONGLONG));
      continue;
    }
    if (status != 0)
      return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    const size_t total = std::min<size_t>(needed ? needed : size, size);
    for (size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= total;) {
      const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(bytes + offset);
      visit(*process);
      if (process->NextEntryOffset == 0)
        break;
      offset += process->NextEntryOffset;
    }
    return true;
  }
  return false;
}

}  // namespace tarvik::win32
