#include "sysinfo/file_version.h"

namespace tarvik {
namespace {

void AppendHex4(std::wstring& text, unsigned value) {
  constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4)
    text += kDigits[(value >> shift) & 0xFu];
}

}  // namespace

std::wstring VersionFieldName(VersionField field) {
  switch (field) {
    case VersionField::FileVersion:
      return L"FileVersion";
    case VersionField::FileDescription:
      return L"FileDescription";
    case VersionField::LegalCopyright:
      return L"LegalCopyright";
    case VersionField::InternalName:
      return L"InternalName";
    case VersionField::OriginalFilename:
      return L"OriginalFilename";
    case VersionField::ProductName:
      return L"ProductName";
    case VersionField::ProductVersion:
      return L"ProductVersion";
    case VersionField::CompanyName:
      return L"CompanyName";
    case VersionField::LegalTrademarks:
      return L"LegalTrademarks";
    case VersionField::SpecialBuild:
      return L"SpecialBuild";
    case VersionField::PrivateBuild:
      return L"PrivateBuild";
    case VersionField::Comments:
      return L"Comments";
    case VersionField::Language:
      return L"Language";
    case VersionField::Email:
      return L"Email";
    case VersionField::Website:
      return L"Website";
    case VersionField::Special:
      return L"Special";
  }
  return L"";
}

std::wstring VersionBlockName(platform::VersionTranslation translation) {
  std::wstring name;
  AppendHex4(name, translation.Language);
  AppendHex4(name, translation.CodePage);
  return name;
}

std::wstring FileVersionField(platform::VersionResources& resources, const std::wstring& path,
                              VersionField field) {
  const std::wstring fieldName = VersionFieldName(field);
  if (fieldName.empty())
    return L"";
  const std::unique_ptr<platform::VersionResource> resource = resources.Open(path);
  if (!resource)
    return L"";
  const std::optional<platform::VersionTranslation> translation = resource->FirstTranslation();
  if (!translation)
    return L"";
  if (field == VersionField::Language)
    return resources.LanguageName(translation->Language);
  return resource->Text(L"\\StringFileInfo\\" + VersionBlockName(*translation) + L"\\" + fieldName)
      .value_or(L"");
}

}  // namespace tarvik
