#include "platform/win32/win32_environment.h"

#include <windows.h>
// shellapi.h and shlobj.h need windows.h first
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <bit>

#include "platform/os_call_count.h"

namespace tarvik::win32 {

std::wstring Win32Environment::ProgramFile() const {
  TARVIK_COUNT_OS_CALL("GetModuleFileNameW");
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return L"";
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring Win32Environment::AppDataFolder() const {
  TARVIK_COUNT_OS_CALL("SHGetFolderPathW");
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return L"";
  }
  std::wstring result(folder);
  if (result.empty())
    return result;
  if (result.back() != L'\\')
    result += L'\\';
  return result;
}

int Win32Environment::UserDefaultLanguageId() const {
  TARVIK_COUNT_OS_CALL("GetUserDefaultLangID");
  return ::GetUserDefaultLangID();
}

namespace {

constexpr int kMostProcessors = 144;

}  // namespace

int CountedProcessors(int groupCount, int allGroupsCount, uint64_t affinityMask) {
  const int counted = groupCount > 1 ? allGroupsCount : std::popcount(affinityMask);
  return std::clamp(counted, 1, kMostProcessors);
}

int Win32Environment::LogicalProcessorCount() const {
  TARVIK_COUNT_OS_CALL("GetActiveProcessorCount");
  DWORD_PTR processMask = 0;
  DWORD_PTR systemMask = 0;
  if (!::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &systemMask))
    processMask = 0;
  return CountedProcessors(::GetActiveProcessorGroupCount(),
                           static_cast<int>(::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)),
                           static_cast<uint64_t>(processMask));
}

std::wstring Win32Environment::WindowsFolder() const {
  TARVIK_COUNT_OS_CALL("GetSystemWindowsDirectoryW");
  std::wstring folder(MAX_PATH, L'\0');
  const UINT length = ::GetSystemWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size())
    return L"";
  folder.resize(length);
  return folder;
}

bool Win32Environment::OpenFolder(const std::wstring& folder) {
  TARVIK_COUNT_OS_CALL("ShellExecuteW explore");
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // ShellExecute reports success with any value above 32.
  return result > 32;
}

void Win32Environment::Beep(int hertz, int milliseconds) {
  TARVIK_COUNT_OS_CALL("Beep");
  ::Beep(static_cast<DWORD>(hertz), static_cast<DWORD>(milliseconds));
}

int ThreadPriorityForLevel(int level) {
  if (level <= 1)
    return THREAD_PRIORITY_IDLE;
  if (level < 8)
    return THREAD_PRIORITY_LOWEST;
  if (level < 16)
    return THREAD_PRIORITY_BELOW_NORMAL;
  if (level == 16)
    return THREAD_PRIORITY_NORMAL;
  if (level < 24)
    return THREAD_PRIORITY_ABOVE_NORMAL;
  if (level < 31)
    return THREAD_PRIORITY_HIGHEST;
  return THREAD_PRIORITY_TIME_CRITICAL;
}

// SetThreadDescription came with Windows 10 1607: looked up, not imported.
void Win32Environment::NameCurrentThread(const std::wstring& name) {
  TARVIK_NAME_COUNTED_THREAD(name);
  TARVIK_COUNT_OS_CALL("SetThreadDescription");
  using SetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  static const auto setDescription = reinterpret_cast<SetThreadDescriptionFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"),
                                               "SetThreadDescription")));
  if (setDescription)
    static_cast<void>(setDescription(::GetCurrentThread(), name.c_str()));
}

void Win32Environment::SetCurrentThreadPriority(int level) {
  TARVIK_COUNT_OS_CALL("SetThreadPriority");
  ::SetThreadPriority(::GetCurrentThread(), ThreadPriorityForLevel(level));
}

}  // namespace tarvik::win32
