#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/os_call_count.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_time.h"

namespace tarvik::win32 {
namespace {

// The program's own files are small; anything larger is not one of them.
constexpr LONGLONG kMaxReadBytes = 64LL * 1024 * 1024;
constexpr DWORD kChunkBytes = 1u << 20;

// How many of the bytes went to the file before it stopped taking them.
size_t WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunkBytes));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      break;
    done += written;
  }
  return done;
}

DWORD Attributes(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str());
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
    path.pop_back();
  return path;
}

}  // namespace

std::optional<std::string> Win32FileSystem::ReadFile(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("ReadFile");
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxReadBytes)
    return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunkBytes));
    if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr))
      return std::nullopt;
    if (read == 0)
      break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

// Writes beside the file first and then replaces it in one step, so a failure at any point
// leaves the old file as it was.
bool Win32FileSystem::WriteFile(const std::wstring& path, std::string_view bytes) {
  TARVIK_COUNT_OS_CALL("WriteFile and MoveFileExW");
  const std::wstring temporary = path + L".new";
  {
    UniqueHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
      return false;
    if (WriteAll(file.Get(), bytes) != bytes.size() || !::FlushFileBuffers(file.Get())) {
      file.Reset();
      ::DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (!::MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

size_t Win32FileSystem::AppendFile(const std::wstring& path, std::string_view bytes) {
  TARVIK_COUNT_OS_CALL("WriteFile append");
  UniqueHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    return 0;
  return WriteAll(file.Get(), bytes);
}

bool Win32FileSystem::RemoveFile(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("DeleteFileW");
  return ::DeleteFileW(path.c_str()) != 0;
}

bool Win32FileSystem::RenameFile(const std::wstring& from, const std::wstring& to) {
  TARVIK_COUNT_OS_CALL("MoveFileExW");
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::FileExists(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("GetFileAttributesW");
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<int64_t> Win32FileSystem::FileSize(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("GetFileAttributesExW");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                              data.nFileSizeLow);
}

bool Win32FileSystem::FolderExists(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("GetFileAttributesW");
  const DWORD attributes = Attributes(WithoutTrailingSeparator(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and any missing folders above it.
bool Win32FileSystem::CreateFolder(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("CreateDirectoryW");
  const std::wstring folder = WithoutTrailingSeparator(path);
  if (folder.empty())
    return false;
  if (FolderExists(folder))
    return true;
  for (size_t at = folder.find_first_of(L"\\/", 3); at != std::wstring::npos;
       at = folder.find_first_of(L"\\/", at + 1)) {
    const std::wstring part = folder.substr(0, at);
    if (!FolderExists(part))
      ::CreateDirectoryW(part.c_str(), nullptr);
  }
  return ::CreateDirectoryW(folder.c_str(), nullptr) || FolderExists(folder);
}

std::optional<int64_t> Win32FileSystem::FileDate(const std::wstring& path) {
  TARVIK_COUNT_OS_CALL("GetFileAttributesExW");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  return LocalDateFromFileTime(data.ftLastWriteTime);
}

}  // namespace tarvik::win32
