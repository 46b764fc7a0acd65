#include "core/path_text.h"

namespace tarvik {

std::wstring FolderOf(const std::wstring& path) {
  const size_t last = path.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t last = path.find_last_of(L"\\/");
  return last == std::wstring::npos ? path : path.substr(last + 1);
}

std::wstring WithTrailingBackslash(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\')
    folder += L'\\';
  return folder;
}

std::wstring WithoutTrailingBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\')
    folder.pop_back();
  return folder;
}

}  // namespace tarvik
