#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include "core/fixed_lists.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/win32/win32_system_identity.h"
#include "platform/win32/win32_version_resources.h"
#include "platform/win32/win32_wmi.h"
#include "sysinfo/file_version.h"
#include "sysinfo/operating_system.h"
#include "sysinfo/processor_properties.h"
#include "sysinfo/windows_name.h"

namespace tarvik::win32 {
namespace {

std::wstring OwnFile() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

TEST(Win32SystemIdentity, ReportsTheRunningSystem) {
  Win32SystemIdentity system;
  const auto kernel = system.KernelVersion();
  ASSERT_TRUE(kernel.has_value());
  EXPECT_EQ(kernel->PlatformId, platform::kPlatformNt);
  EXPECT_GE(kernel->Major, 6u);
  EXPECT_GT(kernel->Build, 0u);
  EXPECT_NE(kernel->ProductType, 0);
  const auto reported = system.ReportedVersion();
  ASSERT_TRUE(reported.has_value());
  EXPECT_EQ(reported->PlatformId, platform::kPlatformNt);

  const std::wstring folder = system.SystemFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_NE(::GetFileAttributesW((folder + L"kernel32.dll").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(system.ComputerName().empty());
  EXPECT_FALSE(system.UserName().empty());
  EXPECT_EQ(system.Started(), platform::StartMode::Normal);
}

TEST(Win32VersionResources, ReadsTheFirstTranslationsFields) {
  Win32VersionResources resources;
  const std::wstring own = OwnFile();
  EXPECT_EQ(FileVersionField(resources, own, VersionField::FileVersion), L"1.2.3.4");
  EXPECT_EQ(FileVersionField(resources, own, VersionField::Comments), L"Pr\u00FCfprogramm");
  EXPECT_EQ(FileVersionField(resources, own, VersionField::CompanyName), L"");
  EXPECT_EQ(FileVersionField(resources, own, VersionField::Language),
            resources.LanguageName(0x0407));
  EXPECT_NE(resources.LanguageName(0x0407), resources.LanguageName(0x0409));
  EXPECT_FALSE(resources.LanguageName(0x0407).empty());
}

TEST(Win32VersionResources, FilesWithoutAResourceGiveNothing) {
  Win32VersionResources resources;
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder(temp);
  const std::wstring plain = folder + L"tarvik-version-" + std::to_wstring(::GetCurrentProcessId());
  const HANDLE file = ::CreateFileW(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(::WriteFile(file, "not a program", 13, &written, nullptr));
  ::CloseHandle(file);
  EXPECT_EQ(resources.Open(plain), nullptr);
  EXPECT_EQ(resources.Open(folder), nullptr);
  EXPECT_EQ(resources.Open(plain + L".missing"), nullptr);
  ::DeleteFileW(plain.c_str());
}

TEST(Win32SystemInformation, NamesThisSystemFromItsKernelAndKernel32) {
  Win32SystemIdentity system;
  Win32VersionResources resources;
  const std::wstring productVersion = FileVersionField(
      resources, system.SystemFolder() + L"kernel32.dll", VersionField::ProductVersion);
  const int32_t fileBuild = BuildFromVersionText(productVersion);
  EXPECT_GT(fileBuild, 0) << "kernel32.dll product version "
                          << testing::PrintToString(productVersion);
  const OsDescription description = DescribeOperatingSystem(system, resources);
  const auto kernel = system.KernelVersion();
  ASSERT_TRUE(kernel.has_value());
  EXPECT_EQ(description.Build, std::max(fileBuild, static_cast<int32_t>(kernel->Build)));
  EXPECT_EQ(description.Name, WindowsName(*kernel, description.Build));
  EXPECT_NE(description.Name.find(L"Windows "), std::wstring::npos);
  EXPECT_EQ(description.Name.find(L"Unknown"), std::wstring::npos);
  std::printf("system: %ls, build %d (kernel %lu.%lu.%lu, kernel32.dll %ls)\n",
              description.Name.c_str(), description.Build,
              static_cast<unsigned long>(kernel->Major), static_cast<unsigned long>(kernel->Minor),
              static_cast<unsigned long>(kernel->Build), productVersion.c_str());
}

TEST(Win32Wmi, DescribesTheProcessor) {
  Win32Wmi wmi;
  Settings settings;
  TextSlots texts;
  const auto value = [&texts](int property) {
    return texts.Get(slot::ProcessorPropertyFirst + property);
  };
  // The second pass finds COM security set by the first, as a later query in the program would.
  for (int pass = 1; pass <= 2; ++pass) {
    PlaceFixedLists(texts);
    const auto started = std::chrono::steady_clock::now();
    ReadProcessorProperties(wmi, settings, texts);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    std::printf("processor query %d: %lld ms\n", pass, static_cast<long long>(elapsed.count()));
    EXPECT_FALSE(value(6).empty());                            // Name
    EXPECT_EQ(value(6), ProcessorPropertyText(value(6)));      // trimmed, single blanks
    EXPECT_FALSE(value(4).empty());                            // Manufacturer
    EXPECT_GT(std::wcstol(value(5).c_str(), nullptr, 10), 0);  // MaxClockSpeed
    EXPECT_GT(std::wcstol(value(9).c_str(), nullptr, 10), 0);  // NumberOfLogicalProcessors
    // The provider and what it brought in (under Wine graphics and print libraries) are let go.
    for (const wchar_t* module : {L"wbemprox.dll", L"dxgi.dll", L"winspool.drv"})
      EXPECT_EQ(::GetModuleHandleW(module), nullptr) << pass << " " << module;
  }
  for (int i = 0; i < kQueriedProcessorProperties; ++i)
    std::printf("  %d: %ls\n", slot::ProcessorPropertyFirst + i, value(i).c_str());
}

}  // namespace
}  // namespace tarvik::win32
