#include "platform/win32/win32_nvml.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/os_call_count.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/proc_address.h"
#include "platform/win32/system_folder.h"

namespace tarvik::win32 {
namespace {

// The module stays loaded until the process ends: a GPU thread that shut-down had to abandon
// may still be inside it.
class Win32NvmlLibrary : public platform::NvmlLibrary {
 public:
  explicit Win32NvmlLibrary(HMODULE module) {
    platform::nvml::BindByName(
        functions_, [module](const char* name) { return ProcAddress<void*>(module, name); });
  }
  [[nodiscard]] const platform::nvml::Functions& Functions() const override { return functions_; }

 private:
  platform::nvml::Functions functions_;
};

std::wstring ProgramFilesFile(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return {};
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\')
    path += L'\\';
  return path + fileName;
}

bool IsNonEmptyFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return false;
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

}  // namespace

std::unique_ptr<platform::NvmlLibrary> LoadNvml() {
  TARVIK_COUNT_OS_CALL("LoadLibraryExW nvml");
  for (const std::wstring& path :
       {ProgramFilesFile(L"NVIDIA Corporation\\NVSMI\\nvml.dll"), SystemFolderFile(L"nvml.dll")}) {
    if (!IsNonEmptyFile(path))
      continue;
    const HMODULE module = LoadLibraryAt(path);
    return module ? std::make_unique<Win32NvmlLibrary>(module) : nullptr;
  }
  return nullptr;
}

}  // namespace tarvik::win32
