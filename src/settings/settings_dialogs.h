#pragma once

#include <optional>
#include <string>

#include "platform/gui.h"
#include "settings/settings_file.h"

namespace tarvik {

// The file chosen in a settings dialog, none when the dialog was cancelled, and whether it
// served: written for an export, read with the program's group for an import.
struct SettingsDialogOutcome {
  std::optional<std::wstring> Path;
  bool Served = false;
  ReadResult Read;  // an import's findings

  [[nodiscard]] bool Failed() const { return Path && !Served; }
};

// "Export Settings": asks where to write a copy of the settings and writes it there.
[[nodiscard]] SettingsDialogOutcome ExportSettingsWithDialog(platform::Gui& gui,
                                                             const SettingsContext& context);

// "Import Settings": asks for a settings file and reads it as at start. A file without the
// program's group, one that cannot be read and one too large change nothing and count as failed.
[[nodiscard]] SettingsDialogOutcome ImportSettingsWithDialog(platform::Gui& gui,
                                                             SettingsContext& context);

}  // namespace tarvik
