#pragma once

#include "platform/wmi.h"

namespace tarvik::win32 {

// WMI through COM: each query initialises COM on the calling thread, asks ROOT\CIMV2 and
// uninitialises COM again.
class Win32Wmi final : public platform::Wmi {
 public:
  [[nodiscard]] std::optional<std::vector<std::vector<platform::WmiValue>>> ProcessorProperties(
      const std::vector<std::wstring>& names) override;
};

}  // namespace tarvik::win32
