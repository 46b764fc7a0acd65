#include "settings/settings_dialogs.h"

#include "settings/import_export.h"
#include "text/translation.h"

namespace tarvik {
namespace {

std::wstring SettingsFileFilter() {
  return Tr(L"Settings File") + L" (*.ini)| *.ini";
}

// A dialog closed with an empty name counts as cancelled.
std::optional<std::wstring> Chosen(std::optional<std::wstring> path) {
  if (path && path->empty())
    return std::nullopt;
  return path;
}

}  // namespace

SettingsDialogOutcome ExportSettingsWithDialog(platform::Gui& gui, const SettingsContext& context) {
  SettingsDialogOutcome outcome;
  outcome.Path = Chosen(gui.AskSaveFile(Tr(L"Select file to Export"), SettingsFileFilter()));
  outcome.Served = ExportSettings(outcome.Path, context);
  return outcome;
}

SettingsDialogOutcome ImportSettingsWithDialog(platform::Gui& gui, SettingsContext& context) {
  SettingsDialogOutcome outcome;
  outcome.Path = Chosen(gui.AskOpenFile(Tr(L"Select file to Import"), SettingsFileFilter()));
  outcome.Read = ImportSettings(outcome.Path, context);
  outcome.Served = outcome.Read.GroupFound;
  return outcome;
}

}  // namespace tarvik
