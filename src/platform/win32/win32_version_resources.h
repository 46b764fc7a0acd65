#pragma once

#include <windows.h>
#include <winver.h>

#include "platform/version_resources.h"
#include "platform/win32/handles.h"

namespace tarvik::win32 {

// The functions of version.dll the program uses, bound at run time and tested before use.
struct VersionFunctions {
  decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW = nullptr;
  decltype(&::GetFileVersionInfoW) GetFileVersionInfoW = nullptr;
  decltype(&::VerQueryValueW) VerQueryValueW = nullptr;
  decltype(&::VerLanguageNameW) VerLanguageNameW = nullptr;

  [[nodiscard]] bool Complete() const {
    return GetFileVersionInfoSizeW && GetFileVersionInfoW && VerQueryValueW && VerLanguageNameW;
  }
};

// Version resources through version.dll, loaded from the system folder only: linked by name, a
// copy of it planted beside a portable Tarvik.exe would be loaded in its place.
class Win32VersionResources final : public platform::VersionResources {
 public:
  Win32VersionResources();
  [[nodiscard]] std::unique_ptr<platform::VersionResource> Open(const std::wstring& path) override;
  [[nodiscard]] std::wstring LanguageName(uint16_t language) override;

 private:
  UniqueModule library_;
  VersionFunctions functions_;
};

}  // namespace tarvik::win32
