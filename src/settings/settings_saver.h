#pragma once

#include "settings/settings_file.h"

namespace tarvik {

enum class SaveOutcome { Unchanged, Written, Failed };

// Writes the settings file only when something it holds has changed since it was read or last
// saved, so closing the main window again and again costs no writes.
class SettingsSaver {
 public:
  // Remembers what the file holds now; called right after the file is read at start.
  void RememberSaved(const SettingsTexts& texts) { saved_ = texts; }

  // Writes the file in the data folder (creating the folder when needed) when the current texts
  // differ from the remembered ones; the window positions count only while they are kept. Only a
  // successful write updates the remembered texts.
  // The caller refreshes the file status panel after a write.
  [[nodiscard]] SaveOutcome SaveIfChanged(SettingsContext& context);

 private:
  [[nodiscard]] bool Differs(const SettingsTexts& current, bool positionsKept) const;

  SettingsTexts saved_;
};

}  // namespace tarvik
