#include "app/settings_tab_events.h"

#include "core/error_signal.h"
#include "settings/long_idle.h"
#include "settings/settings_dialogs.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/mini_window.h"
#include "ui/settings_checkboxes.h"
#include "ui/settings_tab.h"

namespace tarvik {
namespace {

using platform::GadgetAction;
using platform::GuiEvent;

constexpr int kSwitchBeepHz = 1000;
constexpr int kSwitchBeepMs = 55;

// Selectors whose chosen index is the option itself.
struct IndexSelector {
  int Gadget;
  int Option;
};
// Whether each control's option is on, by its position in SettingsControls().
std::vector<bool> SwitchesOf(const Settings& options) {
  std::vector<bool> on;
  for (const SettingsControl& control : SettingsControls())
    on.push_back(control.Kind == SettingsControlKind::CheckBox && options.IsOn(control.Option));
  return on;
}

constexpr IndexSelector kIndexSelectors[] = {
    {gadget::TitleBarSelector, opt::TitleBarMode},
    {gadget::StorageUnitSelector, opt::StorageUnit},
    {gadget::NetworkUnitSelector, opt::NetworkInPackets},
    {gadget::PingShowSelector, opt::PingShowsAddresses},
};

}  // namespace

SettingsTabEvents::SettingsTabEvents(SettingsTabPorts ports,
                                     std::function<SettingsContext()> settingsContext)
    : ports_(ports), settingsContext_(std::move(settingsContext)) {}

void SettingsTabEvents::Install(GadgetRoutes& routes) {
  const auto run = [](std::function<void()> action) {
    return [action = std::move(action)](const GuiEvent&) {
      action();
      return LoopControl::Continue;
    };
  };
  const auto controls = SettingsControls();
  for (int control = 0; control < static_cast<int>(controls.size()); ++control) {
    if (controls[static_cast<size_t>(control)].Kind != SettingsControlKind::CheckBox)
      continue;
    routes.On(CheckBoxIdOf(control), GadgetAction::Click,
              run([this, control] { ToggleCheckBox(control); }));
  }
  for (const IndexSelector& selector : kIndexSelectors) {
    routes.On(selector.Gadget, GadgetAction::Change,
              run([this, selector] { ChooseOption(selector.Gadget, selector.Option); }));
  }
  routes.On(gadget::LongIdleSelector, GadgetAction::Change, run([this] { ChooseLongIdle(); }));
  routes.On(gadget::TransparencySlider, GadgetAction::Change,
            run([this] { MoveTransparencySlider(); }));
  routes.On(gadget::LogExplorerButton, GadgetAction::Click, run([this] {
              static_cast<void>(ports_.Env.OpenFolder(ports_.Texts.Get(slot::LogFolder)));
            }));
  routes.On(gadget::ImportButton, GadgetAction::Click, run([this] { Import(); }));
  routes.On(gadget::ExportButton, GadgetAction::Click, run([this] { Export(); }));
}

void SettingsTabEvents::ToggleCheckBox(int control) {
  const SettingsControl& entry = SettingsControls()[static_cast<size_t>(control)];
  if (entry.Effect == CheckBoxEffect::Frame) {
    SwitchFrame();
    return;
  }
  // A negative value (an option that could not take effect) counts as off.
  const bool on = !ports_.Options.IsOn(entry.Option);
  ports_.Options.Set(entry.Option, on ? 1 : 0);
  ShowOptions();
  ApplyEffect(entry.Effect, on);
}

void SettingsTabEvents::ApplyEffect(CheckBoxEffect effect, bool on) {
  platform::Gui& gui = ports_.Gui;
  switch (effect) {
    case CheckBoxEffect::AlwaysOnTop:
      gui.SetAlwaysOnTop(gadget::MiniWindow, on);
      break;
    case CheckBoxEffect::LogFile:
      if (on)
        static_cast<void>(ports_.Files.CreateFolder(ports_.FilePaths.Lock()->DataFolder));
      if (!on && logSwitchedOff_)
        logSwitchedOff_();
      if (filesChanged_)
        filesChanged_();
      break;
    case CheckBoxEffect::LogBuffering:
      if (logBufferingChanged_)
        logBufferingChanged_();
      break;
    case CheckBoxEffect::RestoreEvents:
      if (filesChanged_)
        filesChanged_();
      break;
    case CheckBoxEffect::Sound:
      if (on)
        ports_.Env.Beep(kSwitchBeepHz, kSwitchBeepMs);
      break;
    case CheckBoxEffect::Transparency:
      ApplyMiniWindowStyle(gui, ports_.Options);
      break;
    case CheckBoxEffect::TrayIcon:
      if (ports_.Options.IsOn(opt::TrayIconEnabled)) {
        ports_.Tray.ShowIfEnabled();
      } else {
        ports_.Tray.Remove();
      }
      break;
    default:
      break;
  }
}

// The frame follows the option only while the two agree; a frame that already differs (the
// window could not be switched) is left alone and the user hears the error signal.
void SettingsTabEvents::SwitchFrame() {
  const bool compact = ports_.Options.IsOn(opt::BorderlessWindow);
  const bool framed = ports_.Gui.FrameOf(gadget::MiniWindow) == platform::WindowFrame::Caption;
  if (compact == framed) {
    ErrorSignal(ports_.Options, ports_.Env);
    ShowOptions();
    return;
  }
  ports_.Options.Set(opt::BorderlessWindow, compact ? 0 : 1);
  ports_.Gui.SetWindowFrame(gadget::MiniWindow, compact ? platform::WindowFrame::Caption
                                                        : platform::WindowFrame::Borderless);
  ShowOptions();
  if (compactChanged_)
    compactChanged_(!compact);
}

void SettingsTabEvents::ChooseOption(int selector, int option) {
  const int chosen = ports_.Gui.SelectedItem(selector);
  if (chosen >= 0)
    ports_.Options.Set(option, chosen);
}

void SettingsTabEvents::ChooseLongIdle() {
  const int chosen = ports_.Gui.SelectedItem(gadget::LongIdleSelector);
  if (chosen < 0)
    return;
  ports_.Options.Set(opt::LongIdleChoice, chosen);
  ports_.Options.Set(opt::LongIdleSeconds, LongIdleSeconds(chosen));
}

void SettingsTabEvents::MoveTransparencySlider() {
  const int step = ports_.Gui.SliderPosition(gadget::TransparencySlider);
  if (step == ports_.Options.Get(opt::TransparencyStep))
    return;
  ports_.Options.Set(opt::TransparencyStep, step);
  ApplyMiniWindowStyle(ports_.Gui, ports_.Options);
}

// A file that is not a settings file changes nothing; one that is can change any option, and
// each change takes effect as if its control had been used.
void SettingsTabEvents::Import() {
  const std::vector<bool> wasOn = SwitchesOf(ports_.Options);
  SettingsContext context = settingsContext_();
  const SettingsDialogOutcome imported = ImportSettingsWithDialog(ports_.Gui, context);
  if (imported.Failed()) {
    ReportFailed(L"Import Settings", *imported.Path);
    return;
  }
  if (!imported.Served)
    return;
  ShowOptions();
  ApplyMiniWindowStyle(ports_.Gui, ports_.Options);
  MatchFrameToOption();
  ApplyImportedEffects(wasOn);
  if (imported_)
    imported_();
  if (filesChanged_)
    filesChanged_();
}

void SettingsTabEvents::MatchFrameToOption() {
  const bool compact = ports_.Options.IsOn(opt::BorderlessWindow);
  const platform::WindowFrame wanted =
      compact ? platform::WindowFrame::Borderless : platform::WindowFrame::Caption;
  if (ports_.Gui.FrameOf(gadget::MiniWindow) == wanted)
    return;
  ports_.Gui.SetWindowFrame(gadget::MiniWindow, wanted);
  if (compactChanged_)
    compactChanged_(compact);
}

void SettingsTabEvents::ApplyImportedEffects(const std::vector<bool>& wasOn) {
  const std::vector<bool> isOn = SwitchesOf(ports_.Options);
  const auto controls = SettingsControls();
  bool trayDone = false;
  for (size_t index = 0; index < controls.size(); ++index) {
    const SettingsControl& control = controls[index];
    if (control.Kind != SettingsControlKind::CheckBox || wasOn[index] == isOn[index]) {
      continue;
    }
    // The frame was matched above; sound announces nothing here; the tray needs one pass.
    const CheckBoxEffect effect = control.Effect;
    if (effect == CheckBoxEffect::Frame || effect == CheckBoxEffect::Sound ||
        (effect == CheckBoxEffect::TrayIcon && trayDone)) {
      continue;
    }
    trayDone = trayDone || effect == CheckBoxEffect::TrayIcon;
    ApplyEffect(effect, isOn[index]);
  }
}

void SettingsTabEvents::Export() {
  const SettingsDialogOutcome exported = ExportSettingsWithDialog(ports_.Gui, settingsContext_());
  if (exported.Failed()) {
    ReportFailed(L"Export Settings", *exported.Path);
    return;
  }
  if (exported.Served && filesChanged_)
    filesChanged_();
}

void SettingsTabEvents::ReportFailed(const std::wstring& action, const std::wstring& path) {
  ErrorSignal(ports_.Options, ports_.Env);
  ports_.Gui.ShowNotice(Tr(action), path + L"\r\n" + Tr(L"Failed"));
}

void SettingsTabEvents::ShowOptions() {
  ApplySettingsToPanels(ports_.Gui, ports_.Options, ports_.Texts);
}

}  // namespace tarvik
