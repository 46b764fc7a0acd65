#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"

namespace tarvik::win32 {
namespace {

std::wstring FreshFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"tarvik-test-" + name + L"-" +
                        std::to_wstring(::GetCurrentProcessId()) + L"\\";
  return folder;
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

}  // namespace
}  // namespace tarvik::win32
