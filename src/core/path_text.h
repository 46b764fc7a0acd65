#pragma once

#include <string>

namespace tarvik {

// The folder part of a Windows path, up to and including its last backslash.
[[nodiscard]] std::wstring FolderOf(const std::wstring& path);
// The part after the last backslash.
[[nodiscard]] std::wstring FileNameOf(const std::wstring& path);
// The folder with a trailing backslash added when it has none.
[[nodiscard]] std::wstring WithTrailingBackslash(std::wstring folder);
// The folder without its trailing backslash.
[[nodiscard]] std::wstring WithoutTrailingBackslash(std::wstring folder);

}  // namespace tarvik
