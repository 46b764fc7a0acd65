#pragma once

#include <string>

namespace tarvik::platform {

// The system clipboard. Any thread may use it.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's contents with the text; false when the clipboard stayed busy.
  [[nodiscard]] virtual bool SetText(const std::wstring& text) = 0;
};

}  // namespace tarvik::platform
