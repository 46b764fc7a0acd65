#include "ui/file_status.h"

#include <algorithm>
#include <cwctype>

#include "text/date_format.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/line_panel.h"

namespace tarvik {
namespace {

// The second "."-separated field of a file name, upper-cased.
std::wstring Extension(const std::wstring& name) {
  const size_t first = name.find(L'.');
  if (first == std::wstring::npos)
    return L"";
  const size_t second = name.find(L'.', first + 1);
  std::wstring field = name.substr(
      first + 1, second == std::wstring::npos ? std::wstring::npos : second - first - 1);
  std::transform(field.begin(), field.end(), field.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  return field;
}

bool IsPresent(int entry, const Settings& settings, platform::FileSystem& files,
               const FileEntry& file, bool pingListEmpty) {
  switch (entry) {
    case kProgramFileEntry:
      return files.FileExists(file.Folder + file.Name);
    case kSettingsFileEntry:
      return settings.IsOn(opt::SettingsLoaded);
    case kLogFileEntry:
      return settings.IsOn(opt::LogEnabled);
    case kPingStateEntry:
      return !pingListEmpty;
    default:
      return settings.IsOn(opt::RestoreEvents);
  }
}

}  // namespace

void RefreshFilePresence(Paths& paths, const Settings& settings, platform::FileSystem& files,
                         bool pingListEmpty) {
  for (int entry = 0; entry < static_cast<int>(paths.Files.size()); ++entry) {
    FileEntry& file = paths.Files[static_cast<size_t>(entry)];
    file.Present = IsPresent(entry, settings, files, file, pingListEmpty) ? 1 : 0;
    const auto date = file.Present ? files.FileDate(file.Folder + file.Name) : std::nullopt;
    file.Date = date ? FormatDate(L"%yyyy-%mm-%dd %hh:%ii:%ss ", *date) : L"";
  }
}

std::vector<std::wstring> FileStatusLines(const Paths& paths, bool portable) {
  size_t width = 0;
  for (const FileEntry& file : paths.Files)
    width = std::max(width, Extension(file.Name).size());
  std::vector<std::wstring> lines;
  for (size_t entry = 0; entry < paths.Files.size(); ++entry) {
    const FileEntry& file = paths.Files[entry];
    std::wstring extension = Extension(file.Name);
    std::wstring line =
        std::wstring(width - extension.size(), L' ') + extension + Tr(L" File") + L": ";
    if (file.Present) {
      line += file.Date + file.Folder + file.Name;
      if (entry == kSettingsFileEntry && portable)
        line += L" [" + Tr(L"Portable Mode") + L"]";
    } else {
      line += file.Status;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void ShowFileStatus(platform::Gui& gui, platform::FontId font, Guarded<Paths>& paths,
                    const Settings& settings, platform::FileSystem& files, bool pingListEmpty) {
  if (!gui.WindowExists(gadget::MainWindow))
    return;
  std::vector<std::wstring> lines;
  {
    auto locked = paths.Lock();
    RefreshFilePresence(*locked, settings, files, pingListEmpty);
    lines = FileStatusLines(*locked, settings.IsOn(opt::PortableMode));
  }
  DrawLinePanel(gui, gadget::FileStatusCanvas, font, lines);
}

}  // namespace tarvik
