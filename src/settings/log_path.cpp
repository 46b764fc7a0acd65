#include "settings/log_path.h"

#include "core/path_text.h"

namespace tarvik {
namespace {

constexpr std::wstring_view kProgramFolderValue = L"0";
constexpr const wchar_t* kWriteTestName = L"Tarvik.tmp";

wchar_t LowerAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

}  // namespace

bool FolderPassesWriteTest(platform::FileSystem& files, const std::wstring& folder) {
  const std::wstring probe = folder + kWriteTestName;
  if (!files.WriteFile(probe, {}))
    return false;
  // A probe that cannot be deleted again still proved the folder writable.
  (void)files.RemoveFile(probe);
  return true;
}

std::optional<std::wstring> ResolveLogpath(const FolderWriteTest& passesWriteTest,
                                           std::wstring_view stored,
                                           const std::wstring& programFolder, bool portable) {
  const std::wstring folder = portable || stored == kProgramFolderValue
                                  ? WithTrailingBackslash(programFolder)
                                  : WithTrailingBackslash(std::wstring(stored));
  if (!passesWriteTest(folder))
    return std::nullopt;
  return folder;
}

std::wstring LogpathToWrite(const std::wstring& logFolder, const std::wstring& programFolder) {
  if (logFolder.empty())
    return {};
  if (SameFolder(logFolder, programFolder))
    return std::wstring(kProgramFolderValue);
  return logFolder;
}

bool SameFolder(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i]))
      return false;
  }
  return true;
}

}  // namespace tarvik
