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
  return ReadSettingsFile(*chosenPath, context);
}

}  // namespace tarvik
