#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarvik::platform {

struct VersionTranslation {
  uint16_t Language = 0;
  uint16_t CodePage = 0;
  bool operator==(const VersionTranslation&) const = default;
};

// One file's version resource, read once and then queried by sub-block path.
class VersionResource {
 public:
  virtual ~VersionResource() = default;
  // The first language and code page listed under "\VarFileInfo\Translation".
  [[nodiscard]] virtual std::optional<VersionTranslation> FirstTranslation() const = 0;
  // The text at a path such as "\StringFileInfo\040904B0\ProductVersion".
  [[nodiscard]] virtual std::optional<std::wstring> Text(const std::wstring& subBlock) const = 0;
};

// The version resources of files (version.dll).
class VersionResources {
 public:
  virtual ~VersionResources() = default;
  // Null when the file is missing, has no version resource, or the library cannot be used.
  [[nodiscard]] virtual std::unique_ptr<VersionResource> Open(const std::wstring& path) = 0;
  // The display name of a language id ("English (United States)"), or empty.
  [[nodiscard]] virtual std::wstring LanguageName(uint16_t language) = 0;
};

}  // namespace tarvik::platform
