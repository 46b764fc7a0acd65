#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace tarvik::fakes {

// An in-memory file system. Paths are compared as given (callers build them the same way the
// program does). Every call that changes something is recorded in `Changes`.
class FakeFileSystem : public platform::FileSystem {
 public:
  std::map<std::wstring, std::string> Files;
  std::map<std::wstring, int64_t> Dates;
  std::set<std::wstring> Folders;
  std::set<std::wstring> ReadOnlyFolders;  // writes and folder creation below these fail
  // Files that are there but cannot be read, as while another program holds them.
  std::set<std::wstring> Unreadable;
  std::vector<std::wstring> Changes;
  int Reads = 0;
  // Runs at every read, to look at the program while it reads.
  std::function<void(const std::wstring& path)> OnRead;
  // Runs at every append before anything is added: a test can hold the writer there.
  std::function<void(const std::wstring& path)> OnAppend;
  // When set, the disk takes only this many more appended bytes: an append that does not fit
  // adds what fits and reports that many.
  std::optional<size_t> AppendRoom;
  // When set, every written file is noted here in order ("write Tarvik.ini").
  std::vector<std::string>* Steps = nullptr;
  // Changes past this many are refused, as if the program had stopped there: a test can cut a
  // series of changes off after each of its steps.
  std::optional<size_t> ChangeLimit;
  // Writes keep only the first half of their bytes and still report success: the torn file a
  // write cut off by a crash or a full disk leaves behind.
  bool TearWrites = false;

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

  [[nodiscard]] bool Touched() const { return Reads > 0 || !Changes.empty(); }

 private:
  [[nodiscard]] bool IsWritable(const std::wstring& path) const;
  [[nodiscard]] bool PastChangeLimit() const;
};

}  // namespace tarvik::fakes
