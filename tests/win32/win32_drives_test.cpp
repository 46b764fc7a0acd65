#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_drives.h"
#include "platform/win32/win32_libraries.h"

namespace tarvik::win32 {
namespace {

// Wine and every Windows have C:, a fixed drive with space and a file system.
TEST(Win32Drives, TheSystemDriveIsListedFixedAndReadableAndAnUnusedLetterIsNot) {
  Win32Libraries libraries;
  Win32Drives drives(libraries);
  const std::wstring letters = drives.PresentLetters().value_or(L"");
  EXPECT_NE(letters.find(L'C'), std::wstring::npos);
  EXPECT_EQ(drives.DriveType(L"C:"), DRIVE_FIXED);
  const auto volume = drives.Volume(L"C:\\");
  ASSERT_TRUE(volume);
  EXPECT_FALSE(volume->FileSystem.empty());
  const auto space = drives.Space(L"C:");
  ASSERT_TRUE(space);
  EXPECT_GT(space->Total, 0);
  EXPECT_LE(space->Available, space->Total);
  EXPECT_FALSE(drives.Audio(L"C:"));  // a hard disk holds no audio CD

  wchar_t unused = L'Y';
  while (letters.find(unused) != std::wstring::npos)
    --unused;
  const std::wstring name = std::wstring(1, unused) + L":";
  EXPECT_EQ(drives.DriveType(name), DRIVE_NO_ROOT_DIR);
  EXPECT_FALSE(drives.Volume(name + L"\\"));
  EXPECT_FALSE(drives.Space(name));
}

TEST(Win32Drives, MappedNamesAskTheNetworkProviderOnlyWhileItIsLoaded) {
  Win32Libraries libraries;
  Win32Drives drives(libraries);
  EXPECT_EQ(drives.Connection(L"C:", 127).Error, static_cast<uint32_t>(ERROR_NOT_SUPPORTED));
  ASSERT_TRUE(libraries.Load(platform::OptionalLibrary::NetworkProvider));
  // A local drive is no network connection: the answer is the system's error, not a name.
  const platform::NetworkConnection local = drives.Connection(L"C:", 127);
  EXPECT_NE(local.Error, 0u);
  EXPECT_NE(local.Error, static_cast<uint32_t>(ERROR_NOT_SUPPORTED));
}

}  // namespace
}  // namespace tarvik::win32
