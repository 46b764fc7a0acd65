#include "ui/settings_checkboxes.h"

#include <iterator>

namespace tarvik {
namespace {

using Kind = SettingsControlKind;
using Effect = CheckBoxEffect;

constexpr const wchar_t* kProgram = L"Program Settings";
constexpr const wchar_t* kTray = L"System Tray";
constexpr const wchar_t* kOptimization = L"Optimization";
constexpr const wchar_t* kDataLog = L"Data Log";

// clang-format off
constexpr SettingsControl kControls[] = {
    {kProgram, L"Enable Always on Top", L"Keeps mini-monitor on top of other windows",
     opt::AlwaysOnTop, Kind::CheckBox, Effect::AlwaysOnTop},
    {kProgram, L"Start Minimized", L"Automatically minimize or hide on startup",
     opt::StartMinimized},
    {kProgram, L"Pop-Up if minimized on drive detection events",
     L"Opens window if drive is found or lost", opt::PopUpOnDriveEvents},
    {kProgram, L"Enable Sound", L"Beep Beep", opt::SoundEnabled, Kind::CheckBox, Effect::Sound},
    {kProgram, L"Transparent Window", L"Makes windows see through", opt::TransparentWindow,
     Kind::CheckBox, Effect::Transparency},
    {kProgram, L"Borderless Window", L"Hides titlebar and switches to a compact mode",
     opt::BorderlessWindow, Kind::CheckBox, Effect::Frame},
    {kProgram, L"Remember Window Positions", L"Restores x,y screen locations between runs",
     opt::RememberPositions},
    {kProgram, L"Long Idle", L"Amount of idle time to wait before recording to System Events",
     opt::LongIdleChoice, Kind::LongIdleSelector},
    {kProgram, L"Title Bar Text", L"Mini Window's Titlebar Display", opt::TitleBarMode,
     Kind::TitleBarSelector},
    {kTray, L"Always show tray icon", L"If no icon, restart program to reopen window",
     opt::TrayIconEnabled, Kind::CheckBox, Effect::TrayIcon},
    {kTray, L"Enable drive LED SysTray (Uses extra CPU)",
     L"Animated Icon. Black=Idle Red=Write Blue=Read", opt::DriveLedTray, Kind::CheckBox,
     Effect::TrayIcon},
    {kTray, L"Single click on tray icon to open", L"Allow single click to open Tarvik",
     opt::SingleClickTray},
    {kTray, L"Close button closes program to tray", L"Prevents normal closing of mini-Window",
     opt::CloseToTray},
    {kTray, L"Minimize button minimizes program to tray", L"Hide window to systray when minimized",
     opt::MinimizeToTray},
    {kOptimization, L"Enable Extended History",
     L"Increases system and drive history data screen, uses more cpu and memory",
     opt::ExtendedHistory},
    {kOptimization, L"Real-Time Memory Monitor", L"Faster memory updates, uses more cpu",
     opt::RealTimeMemory},
    {kOptimization, L"Real-Time Network Monitor", L"Fast network updates, uses more cpu",
     opt::RealTimeNetwork},
    {kOptimization, L"Comprehensive Ping Timeline", L"Plot all Ping time results into timeline",
     opt::ComprehensivePingTimeline},
    {kDataLog, L"Enable Log File", L"Keep records of drive history in a monthly log file",
     opt::LogEnabled, Kind::CheckBox, Effect::LogFile},
    {kDataLog, L"Enable Extended Log File Buffering",
     L"Only enable if system is stable, increases buffer from 100 to 9999",
     opt::ExtendedLogBuffering, Kind::CheckBox, Effect::LogBuffering, true},
    {kDataLog, L"Save System Events to Log",
     L"Save system events such as battery activity and long idle", opt::LogSystemEvents,
     Kind::CheckBox, Effect::None, true},
    {kDataLog, L"Save Drive Space Changes to Log", L"Save drive activity changes",
     opt::LogDriveSpace, Kind::CheckBox, Effect::None, true},
    {kDataLog, L"Save Storage Monitor Events to Log",
     L"Save storage events such as found and lost drives", opt::LogStorageEvents,
     Kind::CheckBox, Effect::None, true},
    {kDataLog, L"Save Network Events to Log",
     L"Save networking events such as connections, speed, errors", opt::LogNetworkEvents,
     Kind::CheckBox, Effect::None, true},
    {kDataLog, L"Restore previous session events on startup",
     L"Restores history of events from the last run", opt::RestoreEvents, Kind::CheckBox,
     Effect::RestoreEvents},
};
// clang-format on

}  // namespace

std::span<const SettingsControl> SettingsControls() {
  return kControls;
}

CheckState CheckStateOf(int32_t value) {
  if (value < 0)
    return CheckState::Indeterminate;
  return value >= 1 ? CheckState::Checked : CheckState::Unchecked;
}

SettingsTabState SettingsTabStateOf(const Settings& settings, const SelectorEntries& longIdle,
                                    const SelectorEntries& titleBar) {
  const bool logFileOn = settings.IsOn(opt::LogEnabled);
  SettingsTabState state;
  state.Controls.reserve(std::size(kControls));
  for (const SettingsControl& control : kControls) {
    SettingsControlState controlState;
    const int32_t value = settings.Get(control.Option);
    switch (control.Kind) {
      case SettingsControlKind::CheckBox:
        controlState.Check = CheckStateOf(value);
        break;
      case SettingsControlKind::LongIdleSelector:
        controlState.Selected = SelectedEntry(longIdle, value);
        break;
      case SettingsControlKind::TitleBarSelector:
        controlState.Selected = SelectedEntry(titleBar, value);
        break;
    }
    controlState.Enabled = !control.NeedsLogFile || logFileOn;
    state.Controls.push_back(controlState);
  }
  state.OpenFileExplorerEnabled = logFileOn;
  return state;
}

}  // namespace tarvik
