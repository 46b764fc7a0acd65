#pragma once

#include <windows.h>

namespace tarvik::win32 {

// user32 functions that older systems lack, looked up at run time and tested before use.
struct User32Extras {
  using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
  using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND);
  using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);
  // Windows 10 1607 and later: the DPI of the monitor a window is on, and a frame and the system's
  // sizes at a DPI.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

  ShutdownBlockReasonCreateFn ShutdownBlockReasonCreate = nullptr;
  ShutdownBlockReasonDestroyFn ShutdownBlockReasonDestroy = nullptr;
  ChangeWindowMessageFilterFn ChangeWindowMessageFilter = nullptr;
  GetDpiForWindowFn GetDpiForWindow = nullptr;
  AdjustWindowRectExForDpiFn AdjustWindowRectExForDpi = nullptr;
  GetSystemMetricsForDpiFn GetSystemMetricsForDpi = nullptr;

  static User32Extras Bind();
};

}  // namespace tarvik::win32
