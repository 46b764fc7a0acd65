// A library that must never be loaded: the GPU test lays copies of it where a careless program
// would pick them up (beside the program, named nvml.dll or libcuda.dll). Loaded, it leaves
// "<its own file name>.loaded" beside itself, which the test looks for.
#include <windows.h>

#include <string>

// The entry point the loader calls; declared here because no header does.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH)
    return TRUE;
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return TRUE;
  const std::wstring marker = std::wstring(path) + L".loaded";
  const HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE)
    ::CloseHandle(file);
  return TRUE;
}
