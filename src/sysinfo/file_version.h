#pragma once

#include <string>

#include "platform/version_resources.h"

namespace tarvik {

// The text fields of a version resource, by the codes the program asks for them with.
enum class VersionField {
  FileVersion = 1,
  FileDescription = 2,
  LegalCopyright = 4,
  InternalName = 8,
  OriginalFilename = 16,
  ProductName = 32,
  ProductVersion = 64,
  CompanyName = 128,
  LegalTrademarks = 256,
  SpecialBuild = 512,
  PrivateBuild = 1024,
  Comments = 2048,
  Language = 4096,  // the display name of the resource's first language
  Email = 4097,
  Website = 4098,
  Special = 4099,
};

// The field's name in the string table ("ProductVersion"), or empty for an unknown code.
[[nodiscard]] std::wstring VersionFieldName(VersionField field);

// The string-table block of a translation: language and code page in four upper-case
// hexadecimal digits each ("040904B0").
[[nodiscard]] std::wstring VersionBlockName(platform::VersionTranslation translation);

// One field of a file's version resource, in the resource's first language; empty when the
// file, its resource, its translation list or the field is missing.
[[nodiscard]] std::wstring FileVersionField(platform::VersionResources& resources,
                                            const std::wstring& path, VersionField field);

}  // namespace tarvik
