#pragma once

#include "platform/single_instance.h"
#include "platform/win32/handles.h"

namespace tarvik::win32 {

class Win32SingleInstance final : public platform::SingleInstance {
 public:
  [[nodiscard]] platform::InstanceLock Acquire(const std::wstring& name) override;
  void Release() override;

 private:
  UniqueHandle mutex_;
  bool owned_ = false;
};

}  // namespace tarvik::win32
