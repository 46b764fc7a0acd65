#include "platform/win32/win32_single_instance.h"

#include "platform/os_call_count.h"

namespace tarvik::win32 {

platform::InstanceLock Win32SingleInstance::Acquire(const std::wstring& name) {
  TARVIK_COUNT_OS_CALL("CreateMutexW");
  mutex_.Reset(::CreateMutexW(nullptr, TRUE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (!mutex_)
    return platform::InstanceLock::Failed;
  if (error == ERROR_ALREADY_EXISTS) {
    mutex_.Reset();
    return platform::InstanceLock::AlreadyRunning;
  }
  owned_ = true;
  return platform::InstanceLock::Acquired;
}

void Win32SingleInstance::Release() {
  TARVIK_COUNT_OS_CALL("ReleaseMutex");
  if (owned_)
    ::ReleaseMutex(mutex_.Get());
  owned_ = false;
  mutex_.Reset();
}

}  // namespace tarvik::win32
