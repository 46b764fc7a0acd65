#include <gtest/gtest.h>

#include "fakes/fake_gui.h"
#include "settings/settings_dialogs.h"
#include "settings_fixture.h"
#include "text/translation.h"

namespace tarvik {
namespace {

TEST(SettingsDialogs, CancellingEitherDialogChangesNothing) {
  LoadTranslations(kEnglish);
  testing::SettingsFixture fixture;
  fakes::FakeGui gui;
  fixture.Options.Set(opt::TransparencyStep, 3);
  EXPECT_FALSE(ExportSettingsWithDialog(gui, fixture.Context).Path);
  EXPECT_FALSE(ImportSettingsWithDialog(gui, fixture.Context).Path);
  EXPECT_TRUE(fixture.Files.Changes.empty());
  EXPECT_EQ(fixture.Options.Get(opt::TransparencyStep), 3);
  EXPECT_EQ(gui.DialogTitles,
            (std::vector<std::wstring>{L"Select file to Export", L"Select file to Import"}));
}

TEST(SettingsDialogs, AnExportedFileImportsBack) {
  LoadTranslations(kEnglish);
  testing::SettingsFixture fixture;
  fakes::FakeGui gui;
  gui.NextDialogAnswer = L"E:\\backup.ini";
  fixture.Options.Set(opt::TransparencyStep, 3);
  ASSERT_TRUE(ExportSettingsWithDialog(gui, fixture.Context).Served);
  fixture.Options.Set(opt::TransparencyStep, 8);
  EXPECT_TRUE(ImportSettingsWithDialog(gui, fixture.Context).Served);
  EXPECT_EQ(fixture.Options.Get(opt::TransparencyStep), 3);
}

}  // namespace
}  // namespace tarvik
