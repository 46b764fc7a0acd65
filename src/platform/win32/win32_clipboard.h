#pragma once

#include "platform/clipboard.h"

namespace tarvik::win32 {

class Win32Clipboard final : public platform::Clipboard {
 public:
  [[nodiscard]] bool SetText(const std::wstring& text) override;
};

}  // namespace tarvik::win32
