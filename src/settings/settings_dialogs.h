#pragma once

#include "platform/gui.h"
#include "settings/settings_file.h"

namespace tarvik {

// "Export Settings": asks where to write a copy of the settings and writes it there. True when
// a file was written; a cancelled dialog changes nothing.
[[nodiscard]] bool ExportSettingsWithDialog(platform::Gui& gui, const SettingsContext& context);

// "Import Settings": asks for a settings file and reads it as at start. The caller re-applies the
// options to the settings panel and the mini window when the result says a file was read.
[[nodiscard]] ReadResult ImportSettingsWithDialog(platform::Gui& gui, SettingsContext& context);

}  // namespace tarvik
