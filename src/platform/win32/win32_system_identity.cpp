#include "platform/win32/win32_system_identity.h"

#include "platform/win32/system_folder.h"

#include <windows.h>

#include <string>

#include "platform/os_call_count.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

// NTSTATUS NTAPI RtlGetVersion(PRTL_OSVERSIONINFOW): it fills the extended record when the size
// field says so. Bound at run time: it is not in the import libraries, and unlike GetVersionExW
// it reports the real version whatever the program's manifest declares.
using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
constexpr LONG kStatusSuccess = 0;

platform::OsVersionRecord RecordOf(const OSVERSIONINFOEXW& info) {
  platform::OsVersionRecord record;
  record.Major = info.dwMajorVersion;
  record.Minor = info.dwMinorVersion;
  record.Build = info.dwBuildNumber;
  record.PlatformId = info.dwPlatformId;
  record.ServicePack.assign(info.szCSDVersion, ::wcsnlen(info.szCSDVersion, 128));
  record.SuiteMask = info.wSuiteMask;
  record.ProductType = info.wProductType;
  return record;
}

}  // namespace

std::optional<platform::OsVersionRecord> Win32SystemIdentity::KernelVersion() {
  TARVIK_COUNT_OS_CALL("RtlGetVersion");
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  if (!ntdll)
    return std::nullopt;
  const auto rtlGetVersion = ProcAddress<RtlGetVersionFn>(ntdll, "RtlGetVersion");
  if (!rtlGetVersion)
    return std::nullopt;
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);  // 284: the extended record
  if (rtlGetVersion(reinterpret_cast<RTL_OSVERSIONINFOW*>(&info)) != kStatusSuccess)
    return std::nullopt;
  return RecordOf(info);
}

std::optional<platform::OsVersionRecord> Win32SystemIdentity::ReportedVersion() {
  TARVIK_COUNT_OS_CALL("GetVersionExW");
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
    return std::nullopt;
  return RecordOf(info);
}

std::wstring Win32SystemIdentity::SystemFolder() {
  TARVIK_COUNT_OS_CALL("GetSystemDirectoryW");
  return SystemFolderFile(L"");
}

std::wstring Win32SystemIdentity::ComputerName() {
  TARVIK_COUNT_OS_CALL("GetComputerNameW");
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &length))
    return L"";
  return std::wstring(name, length);
}

std::wstring Win32SystemIdentity::UserName() {
  TARVIK_COUNT_OS_CALL("GetUserNameW");
  std::wstring name(257, L'\0');  // a user name has at most 256 characters
  DWORD length = static_cast<DWORD>(name.size());
  if (!::GetUserNameW(name.data(), &length)) {
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      return L"";
    name.resize(length);
    if (!::GetUserNameW(name.data(), &length))
      return L"";
  }
  name.resize(::wcsnlen(name.c_str(), name.size()));
  return name;
}

platform::StartMode Win32SystemIdentity::Started() {
  TARVIK_COUNT_OS_CALL("GetSystemMetrics");
  switch (::GetSystemMetrics(SM_CLEANBOOT)) {
    case 1:
      return platform::StartMode::SafeMode;
    case 2:
      return platform::StartMode::SafeModeWithNetwork;
    default:
      return platform::StartMode::Normal;
  }
}

}  // namespace tarvik::win32
