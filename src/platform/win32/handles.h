#pragma once

#include <windows.h>

#include <utility>

namespace tarvik::win32 {

template <typename T>
bool IsSet(T value) {
  return value != T{};
}
// Handles from CreateFileW signal failure with INVALID_HANDLE_VALUE, most others with null.
inline bool IsSetHandle(HANDLE value) {
  return value != nullptr && value != INVALID_HANDLE_VALUE;
}

// A move-only owner of one Windows resource, released by the given function.
template <typename T, auto Release, auto Valid = IsSet<T>>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T value) : value_(value) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = std::exchange(other.value_, T{});
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  [[nodiscard]] T Get() const { return value_; }
  [[nodiscard]] explicit operator bool() const { return Valid(value_); }
  void Reset(T value = T{}) {
    if (Valid(value_))
      Release(value_);
    value_ = value;
  }

 private:
  T value_ = T{};
};

inline void CloseHandleValue(HANDLE handle) {
  ::CloseHandle(handle);
}
inline void FreeLibraryValue(HMODULE module) {
  ::FreeLibrary(module);
}
inline void DeleteGdiObject(HGDIOBJ object) {
  ::DeleteObject(object);
}
inline void DestroyIconValue(HICON icon) {
  ::DestroyIcon(icon);
}
inline void DeleteDcValue(HDC dc) {
  ::DeleteDC(dc);
}
inline void CloseKeyValue(HKEY key) {
  ::RegCloseKey(key);
}

using UniqueHandle = Owned<HANDLE, CloseHandleValue, IsSetHandle>;
using UniqueModule = Owned<HMODULE, FreeLibraryValue>;
using UniqueFont = Owned<HFONT, DeleteGdiObject>;
using UniqueBitmap = Owned<HBITMAP, DeleteGdiObject>;
using UniqueIcon = Owned<HICON, DestroyIconValue>;
using UniqueDc = Owned<HDC, DeleteDcValue>;
using UniqueKey = Owned<HKEY, CloseKeyValue>;

}  // namespace tarvik::win32
