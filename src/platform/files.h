#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik::platform {

// The file operations the program needs, on Windows paths (backslash separated). Names avoid
// the Windows API's own (DeleteFile is a macro there).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  [[nodiscard]] virtual std::optional<std::string> ReadFile(const std::wstring& path) = 0;
  // Replaces the file as a whole: a failed write leaves any old file as it was.
  [[nodiscard]] virtual bool WriteFile(const std::wstring& path, std::string_view bytes) = 0;
  // Adds the bytes at the end of the file, creating it when missing; readers may keep it open.
  // Returns how many bytes were added: all of them, fewer when the write stopped part way (a full
  // disk), none when the file could not be opened.
  [[nodiscard]] virtual size_t AppendFile(const std::wstring& path, std::string_view bytes) = 0;
  [[nodiscard]] virtual bool RemoveFile(const std::wstring& path) = 0;
  // Gives the file a new name; fails when a file of that name exists.
  [[nodiscard]] virtual bool RenameFile(const std::wstring& from, const std::wstring& to) = 0;
  [[nodiscard]] virtual bool FileExists(const std::wstring& path) = 0;
  // Size in bytes; nothing when the file is missing or cannot be examined.
  [[nodiscard]] virtual std::optional<int64_t> FileSize(const std::wstring& path) = 0;
  [[nodiscard]] virtual bool FolderExists(const std::wstring& path) = 0;
  [[nodiscard]] virtual bool CreateFolder(const std::wstring& path) = 0;
  // Last-write time as a local wall-clock date value.
  [[nodiscard]] virtual std::optional<int64_t> FileDate(const std::wstring& path) = 0;
};

}  // namespace tarvik::platform
