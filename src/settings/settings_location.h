#pragma once

#include <string>

#include "settings/settings_file.h"

namespace tarvik {

// The folder that holds the settings and state files: the base folder plus the maker folder,
// or the base folder alone when there is no maker folder (portable use).
[[nodiscard]] std::wstring DataFolderOf(const std::wstring& baseFolder,
                                        const std::wstring& makerFolder);

// The settings file in the data folder named by the BaseFolder and MakerFolderName slots.
[[nodiscard]] std::wstring SettingsFilePath(const TextSlots& texts);

struct LoadResult {
  ReadResult Read;            // Opened is false when no file was found
  std::wstring SettingsFile;  // the file that was read; empty when none
  std::wstring DataFolder;    // where the settings and state files live from now on
  bool Portable = false;
};

// Finds and reads the settings file at start: a "Tarvik.ini" beside the program makes the
// program portable; otherwise the one in the maker folder under BaseFolder is read. With no
// application-data folder, or a program on another drive than it and no file anywhere, the
// program runs portable too. Portable use keeps every file in the program folder. Sets
// PortableMode, SettingsLoaded, LogFolder (first to `defaultDataFolder`), BaseFolder and
// MakerFolderName. The caller refreshes the log file name and the windows afterwards.
[[nodiscard]] LoadResult LocateAndLoadSettings(SettingsContext& context,
                                               const std::wstring& defaultDataFolder);

}  // namespace tarvik
