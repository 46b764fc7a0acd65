#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_file.h"

namespace tarvik {

// Eight keys of at most 4096 characters each fit many times over; a larger file is something
// else chosen by mistake and is not read at all.
inline constexpr int64_t kMaxSettingsFileBytes = 256 * 1024;

// Writes the current settings to a file the user chose; nothing happens when the choice was
// cancelled. The program's own settings file is not touched. True when the file was written.
[[nodiscard]] bool ExportSettings(const std::optional<std::wstring>& chosenPath,
                                  const SettingsContext& context);

// Reads a settings file the user chose, as at start; nothing happens when the choice was
// cancelled, or when the file is too large to be a settings file. The imported values reach the
// program's own file at the next save. The caller applies the options to the settings panel and
// the mini window afterwards.
[[nodiscard]] ReadResult ImportSettings(const std::optional<std::wstring>& chosenPath,
                                        SettingsContext& context);

}  // namespace tarvik
