// The Windows entry point.
#include <windows.h>

#include "windows_program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int exitCode = 1;
  try {
    exitCode = tarvik::RunOnWindows({});
  } catch (...) {
    exitCode = 1;
  }
  ::ExitProcess(static_cast<UINT>(exitCode));
}
