#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/os_call_count.h"

namespace tarvik::win32 {
namespace {

// Another program may hold the clipboard for a moment: ask again a few times.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 20;

bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < kOpenTries; ++attempt) {
    if (::OpenClipboard(nullptr))
      return true;
    ::Sleep(kOpenPauseMs);
  }
  return false;
}

}  // namespace

bool Win32Clipboard::SetText(const std::wstring& text) {
  TARVIK_COUNT_OS_CALL("SetClipboardData");
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory)
    return false;
  void* target = ::GlobalLock(memory);
  if (!target) {
    ::GlobalFree(memory);
    return false;
  }
  std::memcpy(target, text.c_str(), bytes);
  ::GlobalUnlock(memory);
  if (!OpenClipboardPatiently()) {
    ::GlobalFree(memory);
    return false;
  }
  ::EmptyClipboard();
  // The clipboard owns the memory once it accepted it.
  const bool placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  ::CloseClipboard();
  if (!placed)
    ::GlobalFree(memory);
  return placed;
}

}  // namespace tarvik::win32
