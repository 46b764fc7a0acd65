#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/log_folder_rows.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "settings/bounded_write_test.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/main_window.h"
#include "ui/settings_tab.h"

namespace tarvik {
namespace {

class LogFolderRowsTest : public ::testing::Test {
 protected:
  LogFolderRowsTest() {
    LoadTranslations(kEnglish);
    texts.Set(slot::LogFolder, L"C:\\Logs\\");
    paths.Lock()->ProgramFolder = L"D:\\Tools\\";
    paths.Lock()->DefaultDataFolder = L"C:\\Data\\Brimhold\\";
    files.ReadOnlyFolders.insert(L"P:\\");
    BuildMainWindow(gui, {}, settings, graphs, false);
    rows.OnFolderChanged([this] { ++changes; });
    rows.Install(routes);
    rows.CloseEditor();
  }

  void Click(int id) {
    static_cast<void>(routes.Route({platform::EventKind::Gadget,
                                    gadget::MainWindow,
                                    id,
                                    static_cast<int>(platform::GadgetAction::Click),
                                    {}}));
  }
  // The field's text, "(editing)" after it while the field and its two buttons can be used.
  std::wstring Field() const {
    const bool editing = !gui.Gadgets.at(gadget::LogFolderField).ReadOnly &&
                         gui.IsGadgetEnabled(gadget::LogFolderField) &&
                         gui.IsGadgetEnabled(gadget::LogPortableButton) &&
                         gui.IsGadgetEnabled(gadget::LogDefaultButton);
    return gui.GadgetText(gadget::LogFolderField) + (editing ? L" (editing)" : L"");
  }

  fakes::FakeGui gui;
  fakes::FakeClock clock;
  fakes::FakeFileSystem files;
  GraphStore graphs{clock};
  Settings settings;
  TextSlots texts;
  Guarded<Paths> paths;
  GadgetRoutes routes;
  // The write test runs at once, or is held back like one on a share that does not answer.
  bool answering = true;
  std::vector<std::function<void()>> held;
  BoundedWriteTest writeTest{files,
                             [this](std::function<void()> work) {
                               answering ? work() : held.push_back(std::move(work));
                               return true;
                             },
                             std::chrono::milliseconds(0)};
  LogFolderRows rows{{gui, files, texts, paths,
                      [this](const std::wstring& folder) { return writeTest.Passes(folder); }}};
  int changes = 0;
};

// "Set" opens the editor and takes what was typed once a file can be written there; a folder
// that cannot be written, none at all, and a test that does not answer in time change nothing.
TEST_F(LogFolderRowsTest, SetTakesOnlyAFolderThatPassesTheWriteTestInTime) {
  const struct {
    std::wstring Typed;
    bool Answering;
    std::wstring Folder;
  } cases[] = {{L"P:\\Logs", true, L"C:\\Logs\\"},
               {L"   ", true, L"C:\\Logs\\"},
               {L"*.*", true, L"C:\\Logs\\"},
               {L"\\\\server\\logs\\", false, L"C:\\Logs\\"},
               {L" E:\\New Logs\\*.* ", true, L"E:\\New Logs\\"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Typed);
    answering = c.Answering;
    EXPECT_EQ(Field(), texts.Get(slot::LogFolder) + L"*.*");
    Click(gadget::LogSetButton);
    EXPECT_EQ(Field(), texts.Get(slot::LogFolder) + L" (editing)");
    gui.SetGadgetText(gadget::LogFolderField, c.Typed);
    Click(gadget::LogSetButton);
    EXPECT_EQ(texts.Get(slot::LogFolder), c.Folder);
    const bool taken = c.Folder != L"C:\\Logs\\";
    EXPECT_EQ(Field(), taken ? c.Folder + L"*.*" : L"Invalid or Protected Folder (editing)");
    EXPECT_EQ(changes, taken ? 1 : 0);
    rows.CloseEditor();  // as closing the main window does
  }
  EXPECT_EQ(files.Changes, (std::vector<std::wstring>{L"write E:\\New Logs\\Tarvik.tmp",
                                                      L"delete E:\\New Logs\\Tarvik.tmp"}));
  ASSERT_EQ(held.size(), 1u);
  held.front()();  // the late answer changes nothing either
  EXPECT_EQ(texts.Get(slot::LogFolder), L"E:\\New Logs\\");
}

// A refresh of the Settings tab (a check box clicked, an import) keeps what is being typed; once
// the editor is closed, it shows the folder again.
TEST_F(LogFolderRowsTest, RefreshingThePanelKeepsTheTextBeingTyped) {
  Click(gadget::LogSetButton);
  gui.SetGadgetText(gadget::LogFolderField, L"E:\\Half typ");
  ApplySettingsToPanels(gui, settings, texts);
  EXPECT_EQ(Field(), L"E:\\Half typ (editing)");
  rows.CloseEditor();
  gui.SetGadgetText(gadget::LogFolderField, L"stale");
  ApplySettingsToPanels(gui, settings, texts);
  EXPECT_EQ(Field(), L"C:\\Logs\\*.*");
}

TEST_F(LogFolderRowsTest, PortableAndDefaultTakeTheirFolders) {
  for (const auto& [button, folder] :
       {std::pair{gadget::LogPortableButton, L"D:\\Tools\\"},
        std::pair{gadget::LogDefaultButton, L"C:\\Data\\Brimhold\\"}}) {
    Click(gadget::LogSetButton);
    Click(button);
    EXPECT_EQ(texts.Get(slot::LogFolder), folder);
    EXPECT_EQ(Field(), std::wstring(folder) + L"*.*");
  }
  EXPECT_TRUE(files.FolderExists(L"C:\\Data\\Brimhold\\"));
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tarvik
