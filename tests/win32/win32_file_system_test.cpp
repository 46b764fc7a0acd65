#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"

namespace tarvik::win32 {
namespace {

// A folder no earlier run has used: Wine hands out process ids again, so the id alone could
// find a folder that a run before left behind.
std::wstring FreshFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring stem = std::wstring(temp) + L"tarvik-test-" + name + L"-" +
                            std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (unsigned attempt = ::GetTickCount();; ++attempt) {
    const std::wstring folder = stem + std::to_wstring(attempt);
    if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
      return folder + L"\\";
  }
}

TEST(Win32FileSystem, WritesReadsAndDatesAFileInNewNestedFolders) {
  Win32FileSystem files;
  const std::wstring folder = FreshFolder(L"nested") + L"a\\b\\";
  ASSERT_TRUE(files.CreateFolder(folder));
  EXPECT_TRUE(files.FolderExists(folder));
  const std::wstring path = folder + L"Tarvik.ini";
  const std::string bytes("\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = 1\r\n");
  ASSERT_TRUE(files.WriteFile(path, bytes));
  EXPECT_EQ(files.ReadFile(path).value_or(""), bytes);
  EXPECT_TRUE(files.FileExists(path));
  EXPECT_FALSE(files.FileExists(folder));
  const auto date = files.FileDate(path);
  ASSERT_TRUE(date.has_value());
  EXPECT_LE(std::abs(*date - Win32Clock().NowLocal()), 5);
  EXPECT_FALSE(files.FileExists(path + L".new"));  // nothing left beside it
  EXPECT_TRUE(files.RemoveFile(path));
  EXPECT_FALSE(files.ReadFile(path).has_value());
}

TEST(Win32FileSystem, AFailedWriteLeavesTheOldFileIntact) {
  Win32FileSystem files;
  const std::wstring folder = FreshFolder(L"failed");
  ASSERT_TRUE(files.CreateFolder(folder));
  const std::wstring path = folder + L"TK-Ping.json";
  ASSERT_TRUE(files.WriteFile(path, "old"));
  // The temporary file cannot be created where a folder of that name stands.
  ASSERT_TRUE(files.CreateFolder(path + L".new"));
  EXPECT_FALSE(files.WriteFile(path, "new"));
  EXPECT_EQ(files.ReadFile(path).value_or(""), "old");
}

TEST(Win32FileSystem, AppendsWhileAReaderHoldsTheFileAndRenamesOnlyOntoAFreeName) {
  Win32FileSystem files;
  const std::wstring folder = FreshFolder(L"append");
  ASSERT_TRUE(files.CreateFolder(folder));
  const std::wstring path = folder + L"TK202612.log";
  EXPECT_FALSE(files.FileSize(path).has_value());
  ASSERT_EQ(files.AppendFile(path, "one\r\n"), 5u);
  {
    // A viewer that has the log open (shared for writing) does not stop the next batch.
    const HANDLE reader =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.AppendFile(path, "two\r\n"), 5u);
    ::CloseHandle(reader);
  }
  EXPECT_EQ(files.ReadFile(path).value_or(""), "one\r\ntwo\r\n");
  EXPECT_EQ(files.FileSize(path), 10);
  EXPECT_FALSE(files.FileSize(folder).has_value());

  const std::wstring backup = folder + L"TK-Saga.bak";
  ASSERT_TRUE(files.WriteFile(backup, "kept"));
  EXPECT_FALSE(files.RenameFile(path, backup));
  EXPECT_EQ(files.ReadFile(backup).value_or(""), "kept");
  ASSERT_TRUE(files.RemoveFile(backup));
  EXPECT_TRUE(files.RenameFile(path, backup));
  EXPECT_FALSE(files.FileExists(path));
  EXPECT_EQ(files.ReadFile(backup).value_or(""), "one\r\ntwo\r\n");
}

}  // namespace
}  // namespace tarvik::win32
