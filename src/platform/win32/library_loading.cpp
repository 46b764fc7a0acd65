#include "platform/win32/library_loading.h"

#include "platform/win32/proc_address.h"
#include "platform/win32/system_folder.h"

namespace tarvik::win32 {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// Windows 7 without its loader update has neither the call nor the search flags of
// LoadLibraryExW; the call's presence is how Windows says the flags are there.
SetDefaultDllDirectoriesFn SetDefaultDirectories() {
  static const SetDefaultDllDirectoriesFn set = ProcAddress<SetDefaultDllDirectoriesFn>(
      ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  return set;
}

}  // namespace

void RestrictLibrarySearch() {
  const SetDefaultDllDirectoriesFn restrict = SetDefaultDirectories();
  // Without the call, the current folder at least leaves the search.
  if (restrict == nullptr || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32))
    ::SetDllDirectoryW(L"");
}

HMODULE LoadLibraryAt(const std::wstring& path) {
  if (path.empty())
    return nullptr;
  const DWORD search = SetDefaultDirectories()
                           ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                           : LOAD_WITH_ALTERED_SEARCH_PATH;
  return ::LoadLibraryExW(path.c_str(), nullptr, search);
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  return LoadLibraryAt(SystemFolderFile(fileName));
}

}  // namespace tarvik::win32
