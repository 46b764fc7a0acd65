#pragma once

#include <windows.h>

#include <string>

namespace tarvik::win32 {

// From here on a library named without a path is looked for in the system folder only, never
// beside the program, in the current folder or on PATH: the program ships no library of its own
// and may be started from a folder where anything can lie beside it (a Downloads folder). This
// covers the loads that other libraries make by bare name too (nvml.dll looks for the CUDA
// driver). Called first thing at start.
void RestrictLibrarySearch();

// Loads the library at a full path; what it needs in turn comes from its own folder or the
// system folder. Null when it does not load.
[[nodiscard]] HMODULE LoadLibraryAt(const std::wstring& path);

// Loads a library of the system folder by its file name.
[[nodiscard]] HMODULE LoadSystemLibrary(const wchar_t* fileName);

}  // namespace tarvik::win32
