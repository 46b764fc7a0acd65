#include "platform/win32/win32_gui.h"

#include <commdlg.h>

#include "platform/win32/library_loading.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

// The file dialogs' library is loaded the first time a dialog opens and then kept: loaded with
// the program it would bring the printing system along and hold it all day for a dialog that
// is seldom opened.
struct FileDialogFunctions {
  decltype(&::GetOpenFileNameW) Open = nullptr;
  decltype(&::GetSaveFileNameW) Save = nullptr;
};

const FileDialogFunctions& FileDialogs() {
  static const FileDialogFunctions functions = [] {
    FileDialogFunctions bound;
    if (const HMODULE library = LoadSystemLibrary(L"comdlg32.dll")) {
      bound.Open = ProcAddress<decltype(&::GetOpenFileNameW)>(library, "GetOpenFileNameW");
      bound.Save = ProcAddress<decltype(&::GetSaveFileNameW)>(library, "GetSaveFileNameW");
    }
    return bound;
  }();
  return functions;
}

// "Settings File (*.ini)| *.ini" becomes the double-zero-terminated pairs the dialogs expect.
std::wstring DialogFilter(const std::wstring& filter) {
  std::wstring result;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t end = filter.find(L'|', start);
    if (end == std::wstring::npos)
      end = filter.size();
    std::wstring part = filter.substr(start, end - start);
    const size_t first = part.find_first_not_of(L' ');
    const size_t last = part.find_last_not_of(L' ');
    result += first == std::wstring::npos ? L"" : part.substr(first, last - first + 1);
    result += L'\0';
    start = end + 1;
  }
  result += L'\0';
  return result;
}

std::optional<std::wstring> AskFile(HWND owner, const std::wstring& title,
                                    const std::wstring& filter, bool save) {
  const auto ask = save ? FileDialogs().Save : FileDialogs().Open;
  if (!ask)
    return std::nullopt;
  std::wstring file(32768, L'\0');
  const std::wstring filters = DialogFilter(filter);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = L"ini";
  dialog.Flags =
      OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!ask(&dialog))
    return std::nullopt;
  file.resize(file.find(L'\0'));
  return file;
}

}  // namespace

std::optional<std::wstring> Win32Gui::AskSaveFile(const std::wstring& title,
                                                  const std::wstring& filter) {
  AssertWindowThread();
  return AskFile(::GetActiveWindow(), title, filter, true);
}

std::optional<std::wstring> Win32Gui::AskOpenFile(const std::wstring& title,
                                                  const std::wstring& filter) {
  AssertWindowThread();
  return AskFile(::GetActiveWindow(), title, filter, false);
}

void Win32Gui::ShowNotice(const std::wstring& title, const std::wstring& text) {
  AssertWindowThread();
  static_cast<void>(
      ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING));
}

}  // namespace tarvik::win32
