#include "platform/win32/win32_clock.h"

#include <windows.h>

#include "platform/os_call_count.h"
#include "platform/win32/system_time.h"

namespace tarvik::win32 {

int64_t Win32Clock::NowLocal() const {
  TARVIK_COUNT_OS_CALL("GetLocalTime");
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  // GetLocalTime always gives a valid time, so the conversion cannot fail.
  return DateFromSystemTime(local).value_or(0);
}

int64_t Win32Clock::TickMs() const {
  TARVIK_COUNT_OS_CALL("GetTickCount64");
  return static_cast<int64_t>(::GetTickCount64());
}

void Win32Clock::SleepMs(int milliseconds) const {
  ::Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace tarvik::win32
