#pragma once

#include <map>

#include "platform/libraries.h"
#include "platform/win32/handles.h"

namespace tarvik::win32 {

// The optional system libraries, loaded from the system folder only (never from the program's
// folder or the current one, where a planted copy could be picked up).
class Win32Libraries final : public platform::Libraries {
 public:
  [[nodiscard]] bool Load(platform::OptionalLibrary library) override;
  void UnloadAll() override;
  [[nodiscard]] HMODULE Module(platform::OptionalLibrary library) const;

 private:
  std::map<platform::OptionalLibrary, UniqueModule> modules_;
};

}  // namespace tarvik::win32
