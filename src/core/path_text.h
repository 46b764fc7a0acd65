#pragma once

#include <string>

namespace tarvik {

// The folder part of a Windows path, up to and including its last backslash.
[[nodiscard]] std::wstring FolderOf(const std::wstring& path);
// The part after the last backslash.
[[nodiscard]] std::wstring FileNameOf(const std::wstring& path);
// The path with exactly one trailing backslash.
[[nodiscard]] std::wstring WithTrailingBackslash(std::wstring folder);

}  // namespace tarvik
