#include "platform/win32/user32_extras.h"

namespace tarvik::win32 {
namespace {

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  // GetProcAddress returns a generic pointer; the typed table is the one place it is cast.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

User32Extras User32Extras::Bind() {
  User32Extras extras;
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (!user32)
    return extras;
  extras.ShutdownBlockReasonCreate =
      Lookup<ShutdownBlockReasonCreateFn>(user32, "ShutdownBlockReasonCreate");
  extras.ShutdownBlockReasonDestroy =
      Lookup<ShutdownBlockReasonDestroyFn>(user32, "ShutdownBlockReasonDestroy");
  extras.ChangeWindowMessageFilter =
      Lookup<ChangeWindowMessageFilterFn>(user32, "ChangeWindowMessageFilter");
  extras.GetDpiForWindow = Lookup<GetDpiForWindowFn>(user32, "GetDpiForWindow");
  extras.AdjustWindowRectExForDpi =
      Lookup<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
  extras.GetSystemMetricsForDpi =
      Lookup<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
  return extras;
}

}  // namespace tarvik::win32
