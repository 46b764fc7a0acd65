#include <gtest/gtest.h>

#include "app/settings_tab_events.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "settings/defaults.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/main_window.h"
#include "ui/settings_checkboxes.h"
#include "ui/settings_tab.h"

namespace tarvik {
namespace {

using platform::CheckState;
using platform::EventKind;
using platform::GadgetAction;

class SettingsTabEventsTest : public ::testing::Test {
 protected:
  SettingsTabEventsTest() {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, 4, 0);
    texts.Set(slot::LogFolder, L"C:\\Logs\\");
    paths.Lock()->DataFolder = L"C:\\Data\\Brimhold\\";
    gui.OpenWindow(gadget::MiniWindow, {});
    BuildMainWindow(gui, {}, settings, graphs, false);
    tray.BuildImages();
    tray.ShowIfEnabled();
    ApplySettingsToPanels(gui, settings, texts);
    events.OnCompactChanged([this](bool compact) { compactSeen.push_back(compact); });
    events.OnFilesChanged([this] { ++filesChanged; });
    events.Install(routes);
  }

  void Send(int gadgetId, GadgetAction action) {
    static_cast<void>(routes.Route(
        {EventKind::Gadget, gadget::MainWindow, gadgetId, static_cast<int>(action), {}}));
  }
  void Click(int gadgetId) { Send(gadgetId, GadgetAction::Click); }
  void Choose(int selector, int item) {
    gui.SelectItem(selector, item);
    Send(selector, GadgetAction::Change);
  }
  static int IdOf(const wchar_t* caption) {
    const auto controls = SettingsControls();
    for (size_t index = 0; index < controls.size(); ++index) {
      if (std::wstring_view(controls[index].Caption) == caption)
        return CheckBoxIdOf(static_cast<int>(index));
    }
    return -1;
  }

  fakes::FakeGui gui;
  fakes::FakeClock clock;
  GraphStore graphs{clock};
  fakes::FakeEnvironment environment;
  fakes::FakeFileSystem files;
  Settings settings;
  TextSlots texts;
  Guarded<Paths> paths;
  TrayIcon tray{gui, settings};
  DefaultColours colours;
  GadgetRoutes routes;
  FolderWriteTest writeTest = [this](const std::wstring& folder) {
    return FolderPassesWriteTest(files, folder);
  };
  SettingsTabEvents events{
      {gui, settings, texts, environment, files, paths, tray},
      [this] { return SettingsContext{files, settings, texts, colours, L"C:\\", 0, writeTest}; }};
  std::vector<bool> compactSeen;
  int filesChanged = 0;
};

TEST_F(SettingsTabEventsTest, EveryCheckBoxTogglesItsOwnOptionAndShowsIt) {
  const auto controls = SettingsControls();
  settings.Set(opt::LogEnabled, 1);  // so that the log options can be used
  ApplySettingsToPanels(gui, settings, texts);
  for (size_t index = 0; index < controls.size(); ++index) {
    const SettingsControl& control = controls[index];
    if (control.Kind != SettingsControlKind::CheckBox || control.Effect == CheckBoxEffect::Frame)
      continue;
    const int id = CheckBoxIdOf(static_cast<int>(index));
    ASSERT_EQ(gui.Gadgets[id].Text, Tr(control.Caption)) << index;
    EXPECT_EQ(gui.Gadgets[id].Tooltip, Tr(control.Tooltip)) << index;
    const int before = settings.Get(control.Option);
    Settings untouched;
    for (int option = 0; option < Settings::kCount; ++option)
      untouched.Set(option, settings.Get(option));
    Click(id);
    EXPECT_EQ(settings.Get(control.Option), before >= 1 ? 0 : 1) << index;
    EXPECT_EQ(gui.GetCheckState(id), before >= 1 ? CheckState::Unchecked : CheckState::Checked)
        << index;
    for (int option = opt::FirstFlag; option <= opt::LastFlag; ++option) {
      if (option != control.Option) {
        EXPECT_EQ(settings.Get(option), untouched.Get(option)) << index << " changed " << option;
      }
    }
    Click(id);
    EXPECT_EQ(settings.Get(control.Option) >= 1, before >= 1) << index;
  }
}

TEST_F(SettingsTabEventsTest, SwitchingTheLogFileEnablesItsOptionsAndCreatesTheDataFolder) {
  const int buffering = IdOf(L"Enable Extended Log File Buffering");
  EXPECT_FALSE(gui.IsGadgetEnabled(buffering));
  EXPECT_FALSE(gui.IsGadgetEnabled(gadget::LogExplorerButton));
  Click(IdOf(L"Enable Log File"));
  EXPECT_TRUE(gui.IsGadgetEnabled(buffering));
  EXPECT_TRUE(gui.IsGadgetEnabled(IdOf(L"Save Network Events to Log")));
  EXPECT_TRUE(gui.IsGadgetEnabled(IdOf(L"Restore previous session events on startup")));
  EXPECT_TRUE(gui.IsGadgetEnabled(gadget::LogExplorerButton));
  EXPECT_TRUE(files.FolderExists(L"C:\\Data\\Brimhold\\"));
  EXPECT_EQ(filesChanged, 1);
  Click(gadget::LogExplorerButton);
  EXPECT_EQ(environment.OpenedFolders, std::vector<std::wstring>{L"C:\\Logs\\"});
  Click(IdOf(L"Enable Log File"));
  EXPECT_FALSE(gui.IsGadgetEnabled(buffering));
}

TEST_F(SettingsTabEventsTest, CheckBoxesCarryOutTheirSideEffects) {
  Click(IdOf(L"Enable Always on Top"));  // on by default: now off
  EXPECT_FALSE(gui.Windows[gadget::MiniWindow].OnTop);
  Click(IdOf(L"Enable Always on Top"));
  EXPECT_TRUE(gui.Windows[gadget::MiniWindow].OnTop);

  Click(IdOf(L"Enable Sound"));
  EXPECT_EQ(environment.Beeps, (std::vector<std::pair<int, int>>{{1000, 55}}));
  Click(IdOf(L"Enable Sound"));  // switching it off is silent
  EXPECT_EQ(environment.Beeps.size(), 1u);

  Click(IdOf(L"Transparent Window"));
  EXPECT_EQ(gui.Windows[gadget::MiniWindow].Alpha, 8 * 10 * 255 / 100);
  gui.SetSliderPosition(gadget::TransparencySlider, 5);
  Send(gadget::TransparencySlider, GadgetAction::Change);
  EXPECT_EQ(settings.Get(opt::TransparencyStep), 5);
  EXPECT_EQ(gui.Windows[gadget::MiniWindow].Alpha, 5 * 10 * 255 / 100);

  EXPECT_TRUE(gui.TrayShown);
  Click(IdOf(L"Always show tray icon"));
  EXPECT_FALSE(gui.TrayShown);
  Click(IdOf(L"Always show tray icon"));
  EXPECT_TRUE(gui.TrayShown);
}

// The log follows its switches: the buffer takes its size after the option changed, and the
// pending lines are written when logging is switched off (not when it is switched on).
TEST_F(SettingsTabEventsTest, TheLogFollowsItsSwitches) {
  std::vector<int> seen;
  events.OnLogBufferingChanged([&] { seen.push_back(settings.Get(opt::ExtendedLogBuffering)); });
  const int first = settings.IsOn(opt::ExtendedLogBuffering) ? 0 : 1;
  Click(IdOf(L"Enable Extended Log File Buffering"));
  Click(IdOf(L"Enable Extended Log File Buffering"));
  EXPECT_EQ(seen, (std::vector<int>{first, 1 - first}));  // each time with the new value

  std::vector<int> writtenWith;
  events.OnLogSwitchedOff([&] { writtenWith.push_back(settings.Get(opt::LogEnabled)); });
  Click(IdOf(L"Enable Log File"));
  Click(IdOf(L"Enable Log File"));
  EXPECT_EQ(writtenWith, std::vector<int>{0});
}

// The log buffer's status shares the log folder's group with its controls, none over another.
TEST_F(SettingsTabEventsTest, TheLogStatusFieldIsReadOnlyInsideItsGroupAndCoversNothing) {
  const auto& status = gui.Gadgets.at(gadget::LogStatusField);
  EXPECT_TRUE(status.ReadOnly);
  const platform::Rect group = gui.Gadgets.at(gadget::FirstSettingsFrame + 4).Bounds;
  const platform::Rect at = status.Bounds;
  EXPECT_TRUE(at.X >= group.X && at.Y >= group.Y && at.X + at.Width <= group.X + group.Width &&
              at.Y + at.Height <= group.Y + group.Height);
  for (const auto& [id, other] : gui.Gadgets) {
    if (id == gadget::LogStatusField || other.Kind == "frame" ||
        other.Parent.Tab != gadget::SettingsPanel) {
      continue;
    }
    const platform::Rect b = other.Bounds;
    EXPECT_TRUE(b.X + b.Width <= at.X || at.X + at.Width <= b.X || b.Y + b.Height <= at.Y ||
                at.Y + at.Height <= b.Y)
        << id;
  }
}

TEST_F(SettingsTabEventsTest, TheBorderlessSwitchFollowsTheFrameOnlyWhileTheyAgree) {
  const int borderless = IdOf(L"Borderless Window");
  Click(borderless);
  EXPECT_EQ(settings.Get(opt::BorderlessWindow), 1);
  EXPECT_EQ(gui.FrameOf(gadget::MiniWindow), platform::WindowFrame::Borderless);
  EXPECT_EQ(gui.GetCheckState(borderless), CheckState::Checked);
  EXPECT_EQ(compactSeen, std::vector<bool>{true});

  // The frame no longer matches the option: nothing switches, the user hears the signal.
  settings.Set(opt::SoundEnabled, 1);
  gui.SetWindowFrame(gadget::MiniWindow, platform::WindowFrame::Caption);
  Click(borderless);
  EXPECT_EQ(settings.Get(opt::BorderlessWindow), 1);
  EXPECT_EQ(gui.FrameOf(gadget::MiniWindow), platform::WindowFrame::Caption);
  EXPECT_EQ(environment.Beeps.size(), 1u);
  EXPECT_EQ(compactSeen.size(), 1u);
}

TEST_F(SettingsTabEventsTest, SelectorsStoreTheirChoice) {
  Choose(gadget::LongIdleSelector, 11);  // "2 Hours"
  EXPECT_EQ(settings.Get(opt::LongIdleChoice), 11);
  EXPECT_EQ(settings.Get(opt::LongIdleSeconds), 7200);
  Choose(gadget::TitleBarSelector, 3);
  EXPECT_EQ(settings.Get(opt::TitleBarMode), 3);
  Choose(gadget::StorageUnitSelector, 4);
  EXPECT_EQ(settings.Get(opt::StorageUnit), 4);
  Choose(gadget::NetworkUnitSelector, 1);
  EXPECT_EQ(settings.Get(opt::NetworkInPackets), 1);
  Choose(gadget::PingShowSelector, 1);
  EXPECT_EQ(settings.Get(opt::PingShowsAddresses), 1);

  ApplySettingsToPanels(gui, settings, texts);
  EXPECT_EQ(gui.SelectedItem(gadget::LongIdleSelector), 11);
  EXPECT_EQ(gui.SelectedItem(gadget::StorageUnitSelector), 4);
  EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), L"C:\\Logs\\*.*");
}

// Each check box switches the option its caption names.
TEST_F(SettingsTabEventsTest, EachCheckBoxSwitchesTheOptionOfItsCaption) {
  const std::pair<const wchar_t*, int> boxes[] = {
      {L"Enable Always on Top", 65},
      {L"Enable Extended Log File Buffering", 66},
      {L"Single click on tray icon to open", 67},
      {L"Enable drive LED SysTray (Uses extra CPU)", 68},
      {L"Enable Extended History", 69},
      {L"Save Storage Monitor Events to Log", 70},
      {L"Save Network Events to Log", 71},
      {L"Save Drive Space Changes to Log", 72},
      {L"Save System Events to Log", 73},
      {L"Restore previous session events on startup", 74},
      {L"Enable Log File", 76},
      {L"Start Minimized", 77},
      {L"Transparent Window", 79},
      {L"Pop-Up if minimized on drive detection events", 80},
      {L"Real-Time Memory Monitor", 81},
      {L"Real-Time Network Monitor", 82},
      {L"Enable Sound", 83},
      {L"Always show tray icon", 84},
      {L"Minimize button minimizes program to tray", 85},
      {L"Comprehensive Ping Timeline", 86},
      {L"Borderless Window", 87},
      {L"Close button closes program to tray", 88},
      {L"Remember Window Positions", 89}};
  size_t checkBoxes = 0;
  for (const SettingsControl& control : SettingsControls())
    checkBoxes += control.Kind == SettingsControlKind::CheckBox ? 1 : 0;
  EXPECT_EQ(checkBoxes, std::size(boxes));
  for (const auto& [caption, option] : boxes) {
    const bool before = settings.IsOn(option);
    Click(IdOf(caption));
    EXPECT_NE(settings.IsOn(option), before) << option;
  }
}

// An import takes effect as if each changed option's control had been used; the frame follows
// "Borderless Window", so the check box goes on switching it.
TEST_F(SettingsTabEventsTest, ImportAppliesEveryOptionTheFileChanged) {
  int imported = 0;
  events.OnImported([&] { ++imported; });
  std::vector<int> buffering;
  events.OnLogBufferingChanged(
      [&] { buffering.push_back(settings.Get(opt::ExtendedLogBuffering)); });
  const std::pair<int, int> changes[] = {{opt::BorderlessWindow, 1}, {opt::TrayIconEnabled, 0},
                                         {opt::LogEnabled, 1},       {opt::ExtendedLogBuffering, 0},
                                         {opt::AlwaysOnTop, 0},      {opt::TitleBarMode, 3}};
  std::vector<int> before;
  for (const auto& [option, value] : changes) {
    before.push_back(settings.Get(option));
    settings.Set(option, value);
  }
  gui.NextDialogAnswer = L"E:\\mine.ini";
  Click(gadget::ExportButton);
  for (size_t i = 0; i < std::size(changes); ++i)
    settings.Set(changes[i].first, before[i]);

  Click(gadget::ImportButton);
  for (const auto& [option, value] : changes)
    EXPECT_EQ(settings.Get(option), value) << option;
  EXPECT_EQ(gui.FrameOf(gadget::MiniWindow), platform::WindowFrame::Borderless);
  EXPECT_EQ(compactSeen, std::vector<bool>{true});
  EXPECT_FALSE(gui.TrayShown);
  EXPECT_TRUE(files.FolderExists(L"C:\\Data\\Brimhold\\"));
  EXPECT_EQ(buffering, std::vector<int>{0});
  EXPECT_FALSE(gui.Windows[gadget::MiniWindow].OnTop);
  EXPECT_EQ(gui.SelectedItem(gadget::TitleBarSelector), 3);
  EXPECT_EQ(imported, 1);
  EXPECT_TRUE(gui.Notices.empty());

  settings.Set(opt::SoundEnabled, 1);
  Click(IdOf(L"Borderless Window"));
  EXPECT_EQ(gui.FrameOf(gadget::MiniWindow), platform::WindowFrame::Caption);
  EXPECT_TRUE(environment.Beeps.empty());
}

TEST_F(SettingsTabEventsTest, AFailedImportOrExportSaysSoAndChangesNothing) {
  settings.Set(opt::SoundEnabled, 1);
  files.ReadOnlyFolders.insert(L"F:\\");
  gui.NextDialogAnswer = L"F:\\locked.ini";
  Click(gadget::ExportButton);
  files.Files[L"E:\\notes.ini"] = "[Notes]\r\nConfig = 0\r\n";
  gui.NextDialogAnswer = L"E:\\notes.ini";
  Click(gadget::ImportButton);
  gui.NextDialogAnswer.reset();  // cancelled: nothing to say
  Click(gadget::ExportButton);
  Click(gadget::ImportButton);
  EXPECT_EQ(gui.Notices, (std::vector<std::wstring>{L"Export Settings: F:\\locked.ini\r\nFailed",
                                                    L"Import Settings: E:\\notes.ini\r\nFailed"}));
  EXPECT_EQ(environment.Beeps.size(), 2u);
  EXPECT_EQ(settings.Get(opt::AlwaysOnTop), 1);
  EXPECT_EQ(filesChanged, 0);
}

}  // namespace
}  // namespace tarvik
