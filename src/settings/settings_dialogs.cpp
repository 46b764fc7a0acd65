#include "settings/settings_dialogs.h"

#include "settings/import_export.h"
#include "text/translation.h"

namespace tarvik {
namespace {

std::wstring SettingsFileFilter() {
  return Tr(L"Settings File") + L" (*.ini)| *.ini";
}

}  // namespace

bool ExportSettingsWithDialog(platform::Gui& gui, const SettingsContext& context) {
  return ExportSettings(gui.AskSaveFile(Tr(L"Select file to Export"), SettingsFileFilter()),
                        context);
}

ReadResult ImportSettingsWithDialog(platform::Gui& gui, SettingsContext& context) {
  return ImportSettings(gui.AskOpenFile(Tr(L"Select file to Import"), SettingsFileFilter()),
                        context);
}

}  // namespace tarvik
