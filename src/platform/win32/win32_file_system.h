#pragma once

#include "platform/files.h"

namespace tarvik::win32 {

class Win32FileSystem final : public platform::FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::wstring& path) override;
  bool WriteFile(const std::wstring& path, std::string_view bytes) override;
  size_t AppendFile(const std::wstring& path, std::string_view bytes) override;
  bool RemoveFile(const std::wstring& path) override;
  bool RenameFile(const std::wstring& from, const std::wstring& to) override;
  bool FileExists(const std::wstring& path) override;
  std::optional<int64_t> FileSize(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  bool CreateFolder(const std::wstring& path) override;
  std::optional<int64_t> FileDate(const std::wstring& path) override;
};

}  // namespace tarvik::win32
