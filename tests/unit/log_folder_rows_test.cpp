#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/log_folder_rows.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/main_window.h"

namespace tarvik {
namespace {

using platform::GadgetAction;

class LogFolderRowsTest : public ::testing::Test {
 protected:
  LogFolderRowsTest() {
    LoadTranslations(kEnglish);
    texts.Set(slot::LogFolder, L"C:\\Logs\\");
    paths.Lock()->ProgramFolder = L"D:\\Tools\\";
    paths.Lock()->DefaultDataFolder = L"C:\\Data\\Brimhold\\";
    BuildMainWindow(gui, {}, settings, graphs, false);
    rows.OnFolderChanged([this] { ++changes; });
    rows.Install(routes);
    rows.CloseEditor();
  }

  void Click(int id) {
    static_cast<void>(routes.Route({platform::EventKind::Gadget,
                                    gadget::MainWindow,
                                    id,
                                    static_cast<int>(GadgetAction::Click),
                                    {}}));
  }
  void SetTo(const std::wstring& typed) {
    Click(gadget::LogSetButton);
    gui.SetGadgetText(gadget::LogFolderField, typed);
    Click(gadget::LogSetButton);
  }
  [[nodiscard]] bool Editable() const {
    const auto& field = gui.Gadgets.at(gadget::LogFolderField);
    return !field.ReadOnly && field.Enabled && gui.IsGadgetEnabled(gadget::LogPortableButton) &&
           gui.IsGadgetEnabled(gadget::LogDefaultButton);
  }
  [[nodiscard]] bool ReadOnly() const {
    const auto& field = gui.Gadgets.at(gadget::LogFolderField);
    return field.ReadOnly && !field.Enabled && !gui.IsGadgetEnabled(gadget::LogPortableButton) &&
           !gui.IsGadgetEnabled(gadget::LogDefaultButton) &&
           gui.IsGadgetEnabled(gadget::LogSetButton);
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
  LogFolderRows rows{{gui, files, texts, paths,
                      [this](std::function<void()> work) {
                        if (answering) {
                          work();
                        } else {
                          held.push_back(std::move(work));
                        }
                        return true;
                      },
                      std::chrono::milliseconds(0)}};
  int changes = 0;
};

TEST_F(LogFolderRowsTest, SetOpensTheEditorAndTakesAFolderThatPassesTheWriteTest) {
  EXPECT_TRUE(ReadOnly());
  EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), L"C:\\Logs\\*.*");
  Click(gadget::LogSetButton);
  EXPECT_TRUE(Editable());
  EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), L"C:\\Logs\\");
  gui.SetGadgetText(gadget::LogFolderField, L"  E:\\New Logs  ");
  Click(gadget::LogSetButton);
  EXPECT_EQ(texts.Get(slot::LogFolder), L"E:\\New Logs\\");
  EXPECT_EQ(files.Changes, (std::vector<std::wstring>{L"write E:\\New Logs\\Tarvik.tmp",
                                                      L"delete E:\\New Logs\\Tarvik.tmp"}));
  EXPECT_TRUE(ReadOnly());
  EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), L"E:\\New Logs\\*.*");
  EXPECT_EQ(changes, 1);
}

// A folder that cannot be written, no folder at all, and a write test that does not answer in
// time all leave the log folder as it was and say so in the field, which stays open for a retry.
TEST_F(LogFolderRowsTest, AFolderThatFailsTheWriteTestChangesNothing) {
  files.ReadOnlyFolders.insert(L"P:\\");
  const struct {
    const char* Guards;
    std::wstring Typed;
    bool Answering;
  } cases[] = {{"protected", L"P:\\Logs", true},
               {"blank", L"   ", true},
               {"only the pattern", L"*.*", true},
               {"share not answering", L"\\\\server\\logs\\", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Guards);
    answering = c.Answering;
    SetTo(c.Typed);
    EXPECT_EQ(texts.Get(slot::LogFolder), L"C:\\Logs\\");
    EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), L"Invalid or Protected Folder");
    EXPECT_TRUE(Editable());
    EXPECT_EQ(changes, 0);
    rows.CloseEditor();
  }
  ASSERT_EQ(held.size(), 1u);
  held.front()();  // the late answer changes nothing either
  EXPECT_EQ(texts.Get(slot::LogFolder), L"C:\\Logs\\");
}

TEST_F(LogFolderRowsTest, PortableAndDefaultTakeTheirFolders) {
  const struct {
    int Button;
    std::wstring Folder;
  } cases[] = {{gadget::LogPortableButton, L"D:\\Tools\\"},
               {gadget::LogDefaultButton, L"C:\\Data\\Brimhold\\"}};
  for (const auto& c : cases) {
    Click(gadget::LogSetButton);
    Click(c.Button);
    EXPECT_EQ(texts.Get(slot::LogFolder), c.Folder);
    EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), c.Folder + L"*.*");
    EXPECT_TRUE(ReadOnly());
  }
  EXPECT_TRUE(files.FolderExists(L"C:\\Data\\Brimhold\\"));
  EXPECT_EQ(changes, 2);
}

// Closing the main window while the editor is open drops the edit.
TEST_F(LogFolderRowsTest, ClosingTheEditorRestoresTheReadOnlyField) {
  Click(gadget::LogSetButton);
  gui.SetGadgetText(gadget::LogFolderField, L"E:\\Half typed");
  rows.CloseEditor();
  EXPECT_FALSE(rows.EditorOpen());
  EXPECT_TRUE(ReadOnly());
  EXPECT_EQ(gui.GadgetText(gadget::LogFolderField), L"C:\\Logs\\*.*");
  EXPECT_EQ(texts.Get(slot::LogFolder), L"C:\\Logs\\");
}

}  // namespace
}  // namespace tarvik
