#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/settings.h"
#include "platform/gui.h"
#include "ui/settings_choices.h"

namespace tarvik {

enum class SettingsControlKind { CheckBox, LongIdleSelector, TitleBarSelector };

// What else changes when a check box is switched, besides its option.
enum class CheckBoxEffect {
  None,
  AlwaysOnTop,    // the mini window's always-on-top state
  LogFile,        // data folder, log file name and panels; closing the log when off
  LogBuffering,   // the log buffer's size
  RestoreEvents,  // the log file name
  Sound,          // a beep when switched on
  Transparency,   // the windows' opacity
  Frame,          // the mini window's frame, when it still matches the option
  TrayIcon        // the tray icon and the drive handle
};

// One control of the Settings tab, in the order they are built. Group, caption and tooltip
// are translation keys; a selector's caption is followed by ":".
struct SettingsControl {
  const wchar_t* Group;
  const wchar_t* Caption;
  const wchar_t* Tooltip;
  int Option;
  SettingsControlKind Kind = SettingsControlKind::CheckBox;
  CheckBoxEffect Effect = CheckBoxEffect::None;
  bool NeedsLogFile = false;  // disabled while "Enable Log File" is off
};

[[nodiscard]] std::span<const SettingsControl> SettingsControls();

using platform::CheckState;

// 1 or more checked, 0 unchecked, a negative value indeterminate.
[[nodiscard]] CheckState CheckStateOf(int32_t value);

struct SettingsControlState {
  CheckState Check = CheckState::Unchecked;  // check boxes only
  int Selected = -1;                         // selectors only
  bool Enabled = true;
};

// The Settings tab as the options stand: one state per control of SettingsControls(), and
// whether "Open File Explorer" may be used.
struct SettingsTabState {
  std::vector<SettingsControlState> Controls;
  bool OpenFileExplorerEnabled = false;
};

[[nodiscard]] SettingsTabState SettingsTabStateOf(const Settings& settings,
                                                  const SelectorEntries& longIdle,
                                                  const SelectorEntries& titleBar);

}  // namespace tarvik
