#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/fixed_lists.h"
#include "core/settings.h"
#include "text/translation.h"
#include "ui/settings_checkboxes.h"
#include "ui/settings_choices.h"

namespace tarvik {
namespace {

using Items = std::vector<std::wstring>;

class SettingsTab : public ::testing::Test {
 protected:
  void SetUp() override { LoadTranslations(kEnglish); }
  void TearDown() override { LoadTranslations(kEnglish); }  // the German test leaves German
};

TEST_F(SettingsTab, LongIdleEntriesReadTheListUpToDisabled) {
  const SelectorEntries entries = LongIdleEntries(kLongIdleMinutes, 10);
  const Items expected = {
      L"1 Minute",   L"2 Minutes",  L"3 Minutes",  L"5 Minutes",  L"10 Minutes (Default)",
      L"15 Minutes", L"20 Minutes", L"25 Minutes", L"30 Minutes", L"45 Minutes",
      L"1 Hour",     L"2 Hours",    L"3 Hours",    L"4 Hours",    L"5 Hours",
      L"Disabled"};
  EXPECT_EQ(entries.Items, expected);
  EXPECT_EQ(entries.Selected, 4);

  struct Case {
    std::wstring List;
    int Default;
    Items Expected;
    int Selected;
  };
  std::wstring fortyOnes = L"1";
  for (int i = 1; i < 40; ++i)
    fortyOnes += L",1";
  const Case cases[] = {
      {L"5,0,10", 0, {L"5 Minutes", L"Disabled (Default)"}, 1},
      {L"90,abc,7", 99, {L"1 Hour", L"Disabled"}, -1},  // no number: disabled
      {L"5,5", 5, {L"5 Minutes (Default)", L"5 Minutes"}, 0},
      {fortyOnes, 2, Items(31, L"1 Minute"), -1},
  };
  for (const Case& c : cases) {
    const SelectorEntries other = LongIdleEntries(c.List, c.Default);
    EXPECT_EQ(other.Items, c.Expected) << c.List;
    EXPECT_EQ(other.Selected, c.Selected) << c.List;
  }
}

TEST_F(SettingsTab, SelectorsAndControlsAreTranslated) {
  LoadTranslations(kGerman);
  EXPECT_EQ(LongIdleEntries(L"1,60,120,0", 60).Items,
            (Items{L"1 Minute", L"1 Stunde (Standard)", L"2 Stunden", L"Deaktiviert"}));
  const SelectorEntries titleBar = TitleBarEntries();
  ASSERT_EQ(titleBar.Items.size(), 9u);
  EXPECT_EQ(titleBar.Items[0], L"Laufwerke anzeigen (Standard)");
  // A key missing from the table would show nothing.
  for (const std::wstring& item : titleBar.Items)
    EXPECT_FALSE(item.empty());
  for (const SettingsControl& control : SettingsControls()) {
    for (const wchar_t* key : {control.Group, control.Caption, control.Tooltip})
      EXPECT_FALSE(Tr(key).empty()) << key;
  }
}

TEST_F(SettingsTab, CheckBoxesEachHaveTheirOwnFlag) {
  std::set<int> options;
  for (const SettingsControl& control : SettingsControls()) {
    if (control.Kind != SettingsControlKind::CheckBox)
      continue;
    EXPECT_TRUE(control.Option >= opt::FirstFlag && control.Option <= opt::LastFlag);
    EXPECT_TRUE(options.insert(control.Option).second) << control.Option;
  }
  EXPECT_EQ(options.size(), 23u);  // 75, 78 and 90 have no check box
}

size_t ControlIndex(std::wstring_view caption) {
  const auto controls = SettingsControls();
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].Caption == caption)
      return i;
  }
  ADD_FAILURE() << "no control " << std::wstring(caption);
  return 0;
}

TEST_F(SettingsTab, AppliedStateShowsChecksAndSelections) {
  Settings settings;
  settings.Set(opt::AlwaysOnTop, -1);
  settings.Set(opt::SoundEnabled, 2);
  settings.Set(opt::LongIdleChoice, 11);
  settings.Set(opt::TitleBarMode, 9);  // no such mode
  const SettingsTabState state =
      SettingsTabStateOf(settings, LongIdleEntries(kLongIdleMinutes, 10), TitleBarEntries());
  ASSERT_EQ(state.Controls.size(), SettingsControls().size());
  EXPECT_EQ(state.Controls[ControlIndex(L"Enable Always on Top")].Check, CheckState::Indeterminate);
  EXPECT_EQ(state.Controls[ControlIndex(L"Enable Sound")].Check, CheckState::Checked);
  EXPECT_EQ(state.Controls[ControlIndex(L"Start Minimized")].Check, CheckState::Unchecked);
  EXPECT_EQ(state.Controls[ControlIndex(L"Long Idle")].Selected, 11);
  EXPECT_EQ(state.Controls[ControlIndex(L"Title Bar Text")].Selected, 0);
}

TEST_F(SettingsTab, LogOptionsAndExplorerFollowTheLogFileSwitch) {
  Settings settings;
  const SelectorEntries longIdle = LongIdleEntries(kLongIdleMinutes, 10);
  const SettingsTabState off = SettingsTabStateOf(settings, longIdle, TitleBarEntries());
  std::set<std::wstring> disabled;
  for (size_t i = 0; i < off.Controls.size(); ++i) {
    if (!off.Controls[i].Enabled)
      disabled.insert(SettingsControls()[i].Caption);
  }
  EXPECT_EQ(disabled, (std::set<std::wstring>{
                          L"Enable Extended Log File Buffering", L"Save System Events to Log",
                          L"Save Drive Space Changes to Log", L"Save Storage Monitor Events to Log",
                          L"Save Network Events to Log"}));
  EXPECT_FALSE(off.OpenFileExplorerEnabled);

  settings.Set(opt::LogEnabled, 1);
  const SettingsTabState on = SettingsTabStateOf(settings, longIdle, TitleBarEntries());
  for (const SettingsControlState& control : on.Controls)
    EXPECT_TRUE(control.Enabled);
  EXPECT_TRUE(on.OpenFileExplorerEnabled);
}

}  // namespace
}  // namespace tarvik
