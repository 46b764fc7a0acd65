#include "platform/win32/win32_sleeper.h"

#include <algorithm>

namespace tarvik::win32 {
namespace {

// Holds the lock for one scope; a thrown `until` or `change` still releases it.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
  ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&lock_); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace

bool Win32Sleeper::SleepFor(int milliseconds, const std::function<bool()>& until) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(std::max(milliseconds, 0));
  ExclusiveLock held(lock_);
  // A wake may be spurious, and one wake serves every sleeper: each looks at its own condition.
  while (!until()) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end)
      return false;
    ::SleepConditionVariableSRW(&wake_, &lock_, static_cast<DWORD>(end - now), 0);
  }
  return true;
}

void Win32Sleeper::Change(const std::function<void()>& change) {
  {
    ExclusiveLock held(lock_);
    change();
  }
  ::WakeAllConditionVariable(&wake_);
}

}  // namespace tarvik::win32
