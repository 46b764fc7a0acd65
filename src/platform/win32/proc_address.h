#pragma once

#include <windows.h>

namespace tarvik::win32 {

// A function of a loaded library, typed from its real prototype; null when the library lacks it.
template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) {
  // GetProcAddress returns a generic pointer; this is the one place it is cast to a type.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace tarvik::win32
