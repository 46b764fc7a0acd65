#pragma once

#include <windows.h>

namespace tarvik::win32 {

// user32 functions that older systems lack, looked up at run time and tested before use.
struct User32Extras {
  using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
  using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND);
  using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);

  ShutdownBlockReasonCreateFn ShutdownBlockReasonCreate = nullptr;
  ShutdownBlockReasonDestroyFn ShutdownBlockReasonDestroy = nullptr;
  ChangeWindowMessageFilterFn ChangeWindowMessageFilter = nullptr;

  static User32Extras Bind();
};

}  // namespace tarvik::win32
