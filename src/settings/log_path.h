#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tarvik {

// A folder may hold the log files when a file can be created in it: the test creates
// folder + "Tarvik.tmp" and deletes it again. The folder text ends with "\".
[[nodiscard]] bool FolderPassesWriteTest(platform::FileSystem& files, const std::wstring& folder);

// How a caller has a folder's write test run (the window thread bounds it in time).
using FolderWriteTest = std::function<bool(const std::wstring& folder)>;

// The log folder a stored "Logpath" value names: "0", or any value in portable mode, names the
// program folder; otherwise the value with a trailing "\" (so an empty value is the root of the
// current drive). Nothing when that folder fails the write test.
[[nodiscard]] std::optional<std::wstring> ResolveLogpath(const FolderWriteTest& passesWriteTest,
                                                         std::wstring_view stored,
                                                         const std::wstring& programFolder,
                                                         bool portable);

// The "Logpath" value for a log folder: "0" for the program folder, so that a copied
// installation keeps logging beside itself.
[[nodiscard]] std::wstring LogpathToWrite(const std::wstring& logFolder,
                                          const std::wstring& programFolder);

// Windows paths compare without regard to letter case.
[[nodiscard]] bool SameFolder(std::wstring_view a, std::wstring_view b);

}  // namespace tarvik
