#include "platform/win32/system_folder.h"

#include <windows.h>

namespace tarvik::win32 {

std::wstring SystemFolderFile(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return L"";
  std::wstring path(folder, length);
  if (path.back() != L'\\')
    path += L'\\';
  return path + fileName;
}

}  // namespace tarvik::win32
