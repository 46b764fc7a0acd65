#include "settings/settings_saver.h"

#include "core/paths.h"
#include "settings/settings_location.h"

namespace tarvik {

bool SettingsSaver::Differs(const SettingsTexts& current, bool positionsKept) const {
  SettingsTexts compared = current;
  if (!positionsKept)
    compared.Digits = saved_.Digits;
  return compared != saved_;
}

SaveOutcome SettingsSaver::SaveIfChanged(SettingsContext& context) {
  const SettingsTexts current = CurrentSettingsTexts(context);
  const bool positionsKept = context.Options.IsOn(opt::RememberPositions);
  if (!Differs(current, positionsKept))
    return SaveOutcome::Unchanged;

  const std::wstring dataFolder =
      DataFolderOf(context.Texts.Get(slot::BaseFolder), context.Texts.Get(slot::MakerFolderName));
  if (!context.Files.FolderExists(dataFolder) && !context.Files.CreateFolder(dataFolder)) {
    return SaveOutcome::Failed;
  }
  const std::string bytes = SettingsFileText(current, context.ProgramFolder, positionsKept);
  if (!context.Files.WriteFile(dataFolder + kSettingsFileName, bytes))
    return SaveOutcome::Failed;
  // Remembered only once written: a failed save is tried again at the next close or at exit,
  // so a passing disk fault does not lose the user's changes.
  saved_ = current;
  context.Options.Set(opt::SettingsLoaded, 1);
  return SaveOutcome::Written;
}

}  // namespace tarvik
