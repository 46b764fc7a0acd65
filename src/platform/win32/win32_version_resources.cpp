#include "platform/win32/win32_version_resources.h"

#include "platform/win32/library_loading.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/os_call_count.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

// What VerQueryValueW found: the value, its length (bytes for binary values, characters for
// texts) and how many bytes of the resource lie from the value on.
struct Found {
  const void* At = nullptr;
  UINT Length = 0;
  size_t RoomBytes = 0;
};

class Win32VersionResource final : public platform::VersionResource {
 public:
  Win32VersionResource(std::vector<unsigned char> data, decltype(&::VerQueryValueW) query)
      : data_(std::move(data)), query_(query) {}

  std::optional<platform::VersionTranslation> FirstTranslation() const override {
    TARVIK_COUNT_OS_CALL("VerQueryValueW");
    const std::optional<Found> found = Query(L"\\VarFileInfo\\Translation");
    WORD pair[2] = {};
    if (!found || std::min<size_t>(found->Length, found->RoomBytes) < sizeof(pair))
      return std::nullopt;
    std::memcpy(pair, found->At, sizeof(pair));
    return platform::VersionTranslation{pair[0], pair[1]};
  }

  std::optional<std::wstring> Text(const std::wstring& subBlock) const override {
    TARVIK_COUNT_OS_CALL("VerQueryValueW");
    const std::optional<Found> found = Query(subBlock);
    if (!found)
      return std::nullopt;
    // The length counts the terminator when there is one; the text never reads past the resource.
    const auto* text = static_cast<const wchar_t*>(found->At);
    const size_t limit = std::min<size_t>(found->Length, found->RoomBytes / sizeof(wchar_t));
    return std::wstring(text, ::wcsnlen(text, limit));
  }

 private:
  std::optional<Found> Query(const std::wstring& subBlock) const {
    void* value = nullptr;
    UINT length = 0;
    if (!query_(data_.data(), subBlock.c_str(), &value, &length) || !value)
      return std::nullopt;
    const auto* byte = static_cast<const unsigned char*>(value);
    const unsigned char* end = data_.data() + data_.size();
    if (byte < data_.data() || byte >= end)
      return std::nullopt;
    return Found{value, length, static_cast<size_t>(end - byte)};
  }

  std::vector<unsigned char> data_;
  decltype(&::VerQueryValueW) query_;
};

}  // namespace

Win32VersionResources::Win32VersionResources() {
  library_.Reset(LoadSystemLibrary(L"version.dll"));
  if (!library_)
    return;
  const HMODULE module = library_.Get();
  functions_.GetFileVersionInfoSizeW =
      ProcAddress<decltype(&::GetFileVersionInfoSizeW)>(module, "GetFileVersionInfoSizeW");
  functions_.GetFileVersionInfoW =
      ProcAddress<decltype(&::GetFileVersionInfoW)>(module, "GetFileVersionInfoW");
  functions_.VerQueryValueW = ProcAddress<decltype(&::VerQueryValueW)>(module, "VerQueryValueW");
  functions_.VerLanguageNameW =
      ProcAddress<decltype(&::VerLanguageNameW)>(module, "VerLanguageNameW");
}

std::unique_ptr<platform::VersionResource> Win32VersionResources::Open(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("GetFileVersionInfoW");
  if (!functions_.Complete())
    return nullptr;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return nullptr;
  DWORD ignored = 0;
  const DWORD size = functions_.GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0)
    return nullptr;
  std::vector<unsigned char> data(size);
  if (!functions_.GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
    return nullptr;
  return std::make_unique<Win32VersionResource>(std::move(data), functions_.VerQueryValueW);
}

std::wstring Win32VersionResources::LanguageName(uint16_t language) {
  TARVIK_COUNT_OS_CALL("VerLanguageNameW");
  if (!functions_.Complete())
    return L"";
  wchar_t name[128] = {};
  if (functions_.VerLanguageNameW(language, name, 128) == 0)
    return L"";
  return std::wstring(name, ::wcsnlen(name, 128));
}

}  // namespace tarvik::win32
