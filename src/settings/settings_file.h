#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/files.h"
#include "settings/colour_list.h"
#include "settings/log_path.h"

namespace tarvik {

// What reading and writing the settings file work on. The current filters are the text slots
// FilterDrvToWrite and FilterNicToWrite; the log folder is the LogFolder slot.
struct SettingsContext {
  platform::FileSystem& Files;
  Settings& Options;
  TextSlots& Texts;
  const DefaultColours& Defaults;  // taken after the windows are built, before the file is read
  std::wstring ProgramFolder;      // with its trailing "\"
  int GpuDeviceCount = 0;
  // How the folders the file names are tried: on the window thread, a test bounded in time.
  FolderWriteTest PassesWriteTest;
};

// The texts the settings file holds, built from the current state.
struct SettingsTexts {
  std::wstring Config;
  std::wstring LogFolder;
  std::wstring ColorBar;
  std::wstring ColorCpu;
  std::wstring ColorGra;
  std::wstring Digits;
  std::wstring FilterDrv;
  std::wstring FilterNic;
  std::wstring Metrics;  // where the metrics page listens; empty while it is off

  bool operator==(const SettingsTexts&) const = default;
};

[[nodiscard]] SettingsTexts CurrentSettingsTexts(const SettingsContext& context);

// What a read found, for the caller to follow up (log file name, graph colours, panels).
struct ReadResult {
  bool Opened = false;            // the file could be read, whatever it held
  bool GroupFound = false;        // it held the program's group
  bool LogFolderRefused = false;  // its log folder failed the write test and was not taken
  bool GraphColoursChanged = false;
};

// Applies the text of a settings file; a text without the program's group changes nothing.
[[nodiscard]] ReadResult ApplySettingsFileText(std::string_view bytes, SettingsContext& context);
[[nodiscard]] ReadResult ReadSettingsFile(const std::wstring& path, SettingsContext& context);

// The bytes of a settings file for `texts`; the window positions only when they are kept.
[[nodiscard]] std::string SettingsFileText(const SettingsTexts& texts,
                                           const std::wstring& programFolder, bool withPositions);

// Writes the current settings to `path`, replacing any old file as a whole.
[[nodiscard]] bool WriteSettingsFile(const std::wstring& path, const SettingsContext& context);

}  // namespace tarvik
