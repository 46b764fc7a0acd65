#include "settings/import_export.h"

namespace tarvik {

bool ExportSettings(const std::optional<std::wstring>& chosenPath, const SettingsContext& context) {
  if (!chosenPath || chosenPath->empty())
    return false;
  return WriteSettingsFile(*chosenPath, context);
}

ReadResult ImportSettings(const std::optional<std::wstring>& chosenPath, SettingsContext& context) {
  if (!chosenPath || chosenPath->empty())
    return {};
  const std::optional<int64_t> size = context.Files.FileSize(*chosenPath);
  if (!size || *size > kMaxSettingsFileBytes)
    return {};
  return ReadSettingsFile(*chosenPath, context);
}

}  // namespace tarvik
