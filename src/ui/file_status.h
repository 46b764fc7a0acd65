#pragma once

#include <string>
#include <vector>

#include "core/guarded.h"
#include "core/paths.h"
#include "core/settings.h"
#include "platform/canvas.h"
#include "platform/files.h"
#include "platform/gui.h"

namespace tarvik {

// Refreshes which of the five files are present and their dates. The ping state counts as
// present while the ping list holds hosts.
void RefreshFilePresence(Paths& paths, const Settings& settings, platform::FileSystem& files,
                         bool pingListEmpty);

// One line per file: its extension right-aligned and upper-cased, " File: ", then date and place
// for a present file or the reason it is absent.
[[nodiscard]] std::vector<std::wstring> FileStatusLines(const Paths& paths, bool portable);

// The About tab's file status panel: refreshed and drawn while the main window exists.
void ShowFileStatus(platform::Gui& gui, platform::FontId font, Guarded<Paths>& paths,
                    const Settings& settings, platform::FileSystem& files, bool pingListEmpty);

}  // namespace tarvik
