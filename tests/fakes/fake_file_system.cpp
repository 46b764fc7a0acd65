#include "fakes/fake_file_system.h"

#include <algorithm>

namespace tarvik::fakes {
namespace {

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
    path.pop_back();
  return path;
}

}  // namespace

std::optional<std::string> FakeFileSystem::ReadFile(const std::wstring& path) {
  ++Reads;
  if (OnRead)
    OnRead(path);
  const auto found = Files.find(path);
  if (found == Files.end() || Unreadable.count(path) > 0)
    return std::nullopt;
  return found->second;
}

bool FakeFileSystem::WriteFile(const std::wstring& path, std::string_view bytes) {
  if (!IsWritable(path))
    return false;
  Files[path] = std::string(TearWrites ? bytes.substr(0, bytes.size() / 2) : bytes);
  Changes.push_back(L"write " + path);
  if (Steps) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    Steps->push_back("write " + std::string(name.begin(), name.end()));
  }
  return true;
}

size_t FakeFileSystem::AppendFile(const std::wstring& path, std::string_view bytes) {
  if (OnAppend)
    OnAppend(path);
  if (!IsWritable(path))
    return 0;
  if (AppendRoom) {
    bytes = bytes.substr(0, std::min(bytes.size(), *AppendRoom));
    *AppendRoom -= bytes.size();
  }
  Files[path] += std::string(bytes);
  Changes.push_back(L"append " + path);
  return bytes.size();
}

bool FakeFileSystem::RenameFile(const std::wstring& from, const std::wstring& to) {
  const auto found = Files.find(from);
  if (found == Files.end() || Files.count(to) > 0 || !IsWritable(to))
    return false;
  Files[to] = std::move(found->second);
  Files.erase(found);
  Changes.push_back(L"rename " + from + L" " + to);
  return true;
}

bool FakeFileSystem::RemoveFile(const std::wstring& path) {
  if (PastChangeLimit() || Files.erase(path) == 0)
    return false;
  Changes.push_back(L"delete " + path);
  return true;
}

bool FakeFileSystem::FileExists(const std::wstring& path) {
  ++Reads;
  return Files.count(path) > 0;
}

std::optional<int64_t> FakeFileSystem::FileSize(const std::wstring& path) {
  ++Reads;
  const auto found = Files.find(path);
  if (found == Files.end())
    return std::nullopt;
  return static_cast<int64_t>(found->second.size());
}

bool FakeFileSystem::FolderExists(const std::wstring& path) {
  ++Reads;
  return Folders.count(WithoutTrailingSlash(path)) > 0;
}

bool FakeFileSystem::CreateFolder(const std::wstring& path) {
  if (!IsWritable(path))
    return false;
  Folders.insert(WithoutTrailingSlash(path));
  Changes.push_back(L"mkdir " + path);
  return true;
}

std::optional<int64_t> FakeFileSystem::FileDate(const std::wstring& path) {
  ++Reads;
  if (Files.count(path) == 0)
    return std::nullopt;
  const auto found = Dates.find(path);
  return found == Dates.end() ? 0 : found->second;
}

bool FakeFileSystem::IsWritable(const std::wstring& path) const {
  if (PastChangeLimit())
    return false;
  for (const auto& folder : ReadOnlyFolders) {
    if (path.rfind(folder, 0) == 0)
      return false;
  }
  return true;
}

bool FakeFileSystem::PastChangeLimit() const {
  return ChangeLimit && Changes.size() >= *ChangeLimit;
}

}  // namespace tarvik::fakes
