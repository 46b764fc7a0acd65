#include "ui/settings_tab.h"

#include <string>

#include "core/fixed_lists.h"
#include "settings/defaults.h"
#include "settings/long_idle.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/metrics_row.h"
#include "ui/settings_checkboxes.h"
#include "ui/settings_choices.h"

namespace tarvik {
namespace {

constexpr int kRowStep = 22;
constexpr int kRowHeight = 20;
constexpr int kFramePadding = 10;
constexpr int kFirstRowOffset = 18;
constexpr int kSelectorLabelWidth = 94;
constexpr int kLeftGroupX = 4;
// Wide enough for the longest caption in every language the program speaks.
constexpr int kRightGroupX = 422;
constexpr int kLeftGroupWidth = 412;
constexpr int kRightGroupWidth = 460;
// The two selectors sit at fixed places of the first group.
constexpr platform::Point kLongIdleSelectorAt{110, 180};
constexpr platform::Point kTitleBarSelectorAt{110, 210};
constexpr int kSelectorWidth = 225;

platform::GadgetParent SettingsPage() {
  return {gadget::MainWindow, gadget::MainPanel, gadget::SettingsPanel};
}

struct GroupPlace {
  const wchar_t* Key;
  platform::Rect Bounds;
};

constexpr GroupPlace kGroups[] = {
    {L"Program Settings", {kLeftGroupX, 2, kLeftGroupWidth, 240}},
    {L"System Tray", {kLeftGroupX, 248, kLeftGroupWidth, 134}},
    {L"Optimization", {kRightGroupX, 2, kRightGroupWidth, 112}},
    {L"Data Log", {kRightGroupX, 118, kRightGroupWidth, 176}},
    {L"Log File Folder Location", {kRightGroupX, 298, kRightGroupWidth, 82}},
    {L"Import / Export Settings", {kRightGroupX, 384, kRightGroupWidth, 56}},
};

const GroupPlace* GroupOf(std::wstring_view key) {
  for (const GroupPlace& group : kGroups) {
    if (key == group.Key)
      return &group;
  }
  return nullptr;
}

void BuildFrames(platform::Gui& gui) {
  int frame = gadget::FirstSettingsFrame;
  for (const GroupPlace& group : kGroups)
    gui.CreateFrame(frame++, SettingsPage(), group.Bounds, Tr(group.Key));
}

void BuildSelector(platform::Gui& gui, int label, int selector, platform::Point at,
                   const SettingsControl& control, const SelectorEntries& entries) {
  gui.CreateText(label, SettingsPage(),
                 {kLeftGroupX + kFramePadding, at.Y + 3, kSelectorLabelWidth, kRowHeight},
                 Tr(control.Caption) + L":");
  gui.CreateSelector(selector, SettingsPage(), {at.X, at.Y, kSelectorWidth, kRowHeight + 2},
                     entries.Items);
  gui.SelectItem(selector, entries.Selected);
  gui.SetTooltip(selector, Tr(control.Tooltip));
}

void BuildControls(platform::Gui& gui) {
  const auto controls = SettingsControls();
  const wchar_t* currentGroup = nullptr;
  int y = 0;
  for (size_t index = 0; index < controls.size(); ++index) {
    const SettingsControl& control = controls[index];
    const GroupPlace* group = GroupOf(control.Group);
    if (control.Group != currentGroup) {
      currentGroup = control.Group;
      y = group->Bounds.Y + kFirstRowOffset;
    }
    switch (control.Kind) {
      case SettingsControlKind::LongIdleSelector:
        BuildSelector(gui, gadget::LongIdleLabel, gadget::LongIdleSelector, kLongIdleSelectorAt,
                      control, LongIdleEntries(kLongIdleMinutes, kDefaultLongIdleSeconds / 60));
        break;
      case SettingsControlKind::TitleBarSelector:
        BuildSelector(gui, gadget::TitleBarLabel, gadget::TitleBarSelector, kTitleBarSelectorAt,
                      control, TitleBarEntries());
        break;
      case SettingsControlKind::CheckBox: {
        const int id = CheckBoxIdOf(static_cast<int>(index));
        const int width = control.Option == opt::TransparentWindow
                              ? 180
                              : group->Bounds.Width - 2 * kFramePadding;
        gui.CreateCheckBox(id, SettingsPage(),
                           {group->Bounds.X + kFramePadding, y, width, kRowHeight},
                           Tr(control.Caption));
        gui.SetTooltip(id, Tr(control.Tooltip));
        if (control.Option == opt::TransparentWindow) {
          gui.CreateSlider(gadget::TransparencySlider, SettingsPage(),
                           {group->Bounds.X + kFramePadding + width, y - 2, 140, kRowHeight + 4}, 1,
                           9);
          gui.SetTooltip(gadget::TransparencySlider, Tr(control.Tooltip));
        }
        y += kRowStep;
        break;
      }
    }
  }
}

void BuildLogFolderControls(platform::Gui& gui) {
  const platform::Rect group = kGroups[4].Bounds;
  const int x = group.X + kFramePadding;
  const int y = group.Y + kFirstRowOffset;
  const auto button = [&](int id, platform::Rect bounds, const wchar_t* caption,
                          const wchar_t* tip) {
    gui.CreateButton(id, SettingsPage(), bounds, Tr(caption));
    if (tip)
      gui.SetTooltip(id, Tr(tip));
  };
  button(gadget::LogPortableButton, {x, y, 80, 24}, L"Portable",
         L"Changes log folder to same location as running program");
  button(gadget::LogDefaultButton, {x + 84, y, 80, 24}, L"Default",
         L"Reverts log folder back to factory settings");
  gui.CreateTextField(gadget::LogFolderField, SettingsPage(), {x + 168, y + 1, 190, 22}, L"", true);
  button(gadget::LogSetButton, {x + 362, y, 78, 24}, L"Set", L"Set new log folder location");
  // "Set" opens the folder editor; the folder is changed through the others only while it is open.
  for (const int id :
       {gadget::LogPortableButton, gadget::LogDefaultButton, gadget::LogFolderField}) {
    gui.EnableGadget(id, false);
  }
  button(gadget::LogExplorerButton, {x, y + 30, 164, 24}, L"Open File Explorer", nullptr);
  gui.CreateTextField(gadget::LogStatusField, SettingsPage(), {x + 168, y + 31, 272, 22}, L"",
                      true);

  const platform::Rect files = kGroups[5].Bounds;
  button(gadget::ImportButton, {files.X + kFramePadding, files.Y + kFirstRowOffset, 200, 24},
         L"Import Settings", nullptr);
  button(gadget::ExportButton, {files.X + kFramePadding + 204, files.Y + kFirstRowOffset, 200, 24},
         L"Export Settings", nullptr);
}

}  // namespace

int CheckBoxIdOf(int control) {
  return gadget::FirstOptionCheckBox + control;
}

int ControlOfCheckBox(int gadget) {
  const int control = gadget - gadget::FirstOptionCheckBox;
  const auto controls = SettingsControls();
  if (control < 0 || control >= static_cast<int>(controls.size()) ||
      controls[static_cast<size_t>(control)].Kind != SettingsControlKind::CheckBox) {
    return -1;
  }
  return control;
}

void BuildSettingsTab(platform::Gui& gui) {
  BuildFrames(gui);
  BuildControls(gui);
  BuildLogFolderControls(gui);
  BuildMetricsRow(gui);
}

void ApplySettingsToPanels(platform::Gui& gui, const Settings& settings, const TextSlots& texts) {
  const SelectorEntries longIdle = LongIdleEntries(kLongIdleMinutes, kDefaultLongIdleSeconds / 60);
  const SettingsTabState state = SettingsTabStateOf(settings, longIdle, TitleBarEntries());
  const auto controls = SettingsControls();
  for (size_t index = 0; index < controls.size(); ++index) {
    const SettingsControlState& shown = state.Controls[index];
    switch (controls[index].Kind) {
      case SettingsControlKind::CheckBox:
        gui.SetCheckState(CheckBoxIdOf(static_cast<int>(index)), shown.Check);
        gui.EnableGadget(CheckBoxIdOf(static_cast<int>(index)), shown.Enabled);
        break;
      case SettingsControlKind::LongIdleSelector:
        gui.SelectItem(gadget::LongIdleSelector, shown.Selected);
        break;
      case SettingsControlKind::TitleBarSelector:
        gui.SelectItem(gadget::TitleBarSelector, shown.Selected);
        break;
    }
  }
  gui.EnableGadget(gadget::LogExplorerButton, state.OpenFileExplorerEnabled);
  gui.SetSliderPosition(gadget::TransparencySlider, settings.Get(opt::TransparencyStep));
  // The field can be used only while the log folder editor is open; what is typed there stays.
  if (!gui.IsGadgetEnabled(gadget::LogFolderField))
    gui.SetGadgetText(gadget::LogFolderField, texts.Get(slot::LogFolder) + L"*.*");
  gui.SelectItem(gadget::StorageUnitSelector, settings.Get(opt::StorageUnit));
  gui.SelectItem(gadget::NetworkUnitSelector, settings.Get(opt::NetworkInPackets) >= 1 ? 1 : 0);
  gui.SelectItem(gadget::PingShowSelector, settings.Get(opt::PingShowsAddresses) >= 1 ? 1 : 0);
  ShowMetricsRow(gui, settings);
}

}  // namespace tarvik
