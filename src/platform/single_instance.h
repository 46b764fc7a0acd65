#pragma once

#include <string>

namespace tarvik::platform {

enum class InstanceLock { Acquired, AlreadyRunning, Failed };

// The named mutex that keeps one copy of the program running per session.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  [[nodiscard]] virtual InstanceLock Acquire(const std::wstring& name) = 0;
  virtual void Release() = 0;
};

}  // namespace tarvik::platform
