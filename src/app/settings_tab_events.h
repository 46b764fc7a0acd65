#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/gadget_routes.h"
#include "app/tray_icon.h"
#include "core/guarded.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "settings/settings_file.h"
#include "ui/settings_checkboxes.h"

namespace tarvik {

struct SettingsTabPorts {
  platform::Gui& Gui;
  Settings& Options;
  TextSlots& Texts;
  platform::Environment& Env;
  platform::FileSystem& Files;
  Guarded<Paths>& FilePaths;
  TrayIcon& Tray;
};

// What the Settings tab's controls do, and the choices on the other tabs' selectors: each
// changes its option, shows the new state and carries out the option's side effect.
class SettingsTabEvents {
 public:
  SettingsTabEvents(SettingsTabPorts ports, std::function<SettingsContext()> settingsContext);

  // Something the About tab's file panel shows changed.
  void OnFilesChanged(std::function<void()> changed) { filesChanged_ = std::move(changed); }
  // The mini window switched between its compact and its normal cells.
  void OnCompactChanged(std::function<void(bool compact)> changed) {
    compactChanged_ = std::move(changed);
  }
  // "Enable Extended Log File Buffering" changed: the log buffer takes its new size.
  void OnLogBufferingChanged(std::function<void()> changed) {
    logBufferingChanged_ = std::move(changed);
  }

  // "Enable Log File" was switched off: the lines logged until then are written.
  void OnLogSwitchedOff(std::function<void()> switchedOff) {
    logSwitchedOff_ = std::move(switchedOff);
  }

  // Settings were imported: what the file changed beyond the options' own side effects (the
  // mini window's title, the graph colours, the log folder) is shown.
  void OnImported(std::function<void()> imported) { imported_ = std::move(imported); }

  void Install(GadgetRoutes& routes);

  void ToggleCheckBox(int control);

 private:
  void ApplyEffect(CheckBoxEffect effect, bool on);
  void SwitchFrame();
  // After an import: the frame follows the option, and every option that changed has its effect.
  void MatchFrameToOption();
  void ApplyImportedEffects(const std::vector<bool>& wasOn);
  void ReportFailed(const std::wstring& action, const std::wstring& path);
  void ChooseOption(int selector, int option);
  void ChooseLongIdle();
  void MoveTransparencySlider();
  void Import();
  void Export();
  void ShowOptions();

  SettingsTabPorts ports_;
  std::function<SettingsContext()> settingsContext_;
  std::function<void()> filesChanged_;
  std::function<void(bool)> compactChanged_;
  std::function<void()> logBufferingChanged_;
  std::function<void()> logSwitchedOff_;
  std::function<void()> imported_;
};

}  // namespace tarvik
