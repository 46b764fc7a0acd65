#include "platform/win32/library_loading.h"

#include "platform/win32/proc_address.h"
#include "platform/win32/system_folder.h"

namespace tarvik::win32 {

void RestrictLibrarySearch() {
  // Windows 7 without its loader update lacks the call; there the current folder at least leaves
  // the search.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto restrict = ProcAddress<SetDefaultDllDirectoriesFn>(::GetModuleHandleW(L"kernel32.dll"),
                                                                "SetDefaultDllDirectories");
  if (restrict == nullptr || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32))
    ::SetDllDirectoryW(L"");
}

HMODULE LoadLibraryAt(const std::wstring& path) {
  if (path.empty())
    return nullptr;
  const HMODULE module = ::LoadLibraryExW(
      path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  // A loader without the search flags refuses them as an invalid parameter.
  if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER)
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return module;
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  return LoadLibraryAt(SystemFolderFile(fileName));
}

}  // namespace tarvik::win32
