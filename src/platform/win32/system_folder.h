#pragma once

#include <string>

namespace tarvik::win32 {

// A file in Windows' system folder ("C:\Windows\System32\" + name), so that a library is never
// taken from beside the program or the current folder; an empty name gives the folder itself
// with its backslash. Empty when the folder cannot be had.
[[nodiscard]] std::wstring SystemFolderFile(const wchar_t* fileName);

}  // namespace tarvik::win32
