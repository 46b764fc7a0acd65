#include <gtest/gtest.h>

#include <string>

#include "core/paths.h"
#include "settings/import_export.h"
#include "settings/settings_location.h"
#include "settings/settings_saver.h"
#include "settings_fixture.h"

namespace tarvik {
namespace {

using testing::SettingsFixture;

const std::wstring kDataFile = SettingsFixture::kDataFolder + kSettingsFileName;
const std::wstring kProgramFile = SettingsFixture::kProgramFolder + kSettingsFileName;
const std::string kHeader = "\xEF\xBB\xBF\r\n[Tarvik]\r\n";
const std::string kPadding(17, '0');
const std::string kDefaultConfig =
    "Config = 11100111100000000001100000"
    "8000100" +
    kPadding;

TEST(SettingsFile, WrittenFileIsExact) {
  SettingsFixture f;
  f.Options.Set(opt::RememberPositions, 1);
  f.Options.Set(opt::MainX, 5);
  f.Options.Set(f.FirstProcessorSlot() + 1, 0xFF);
  f.Texts.Set(slot::LogFolder, SettingsFixture::kProgramFolder);
  f.Texts.Set(slot::FilterDrvToWrite, L"0000-0000");
  f.Texts.Set(slot::FilterNicToWrite, L"00:1A:2B:3C:4D:5E");
  ASSERT_TRUE(WriteSettingsFile(L"E:\\out.ini", f.Context));
  EXPECT_EQ(f.Files.Files[L"E:\\out.ini"],
            kHeader +
                "Config = 11100111100000000001100010"
                "8000100" +
                kPadding +
                "\r\nDigits = v5w0x0y0\r\nLogpath = 0\r\nColorCPU = $FF\r\n"
                "FilterNic = 00:1A:2B:3C:4D:5E\r\n");
}

TEST(SettingsFile, MalformedFileLeavesDefaults) {
  for (const std::string& bytes : {std::string("Config = 0000000000000000000000000000"),
                                   std::string("\x00\xFF\x01garbage", 10)}) {
    SettingsFixture f;
    f.Files.Files[kDataFile] = bytes;
    const LoadResult loaded = LocateAndLoadSettings(f.Context, SettingsFixture::kDataFolder);
    EXPECT_TRUE(loaded.Read.Opened);
    EXPECT_FALSE(loaded.Read.GroupFound);
    EXPECT_EQ(f.Options.Get(opt::AlwaysOnTop), 1);
    EXPECT_EQ(f.Texts.Get(slot::LogFolder), SettingsFixture::kDataFolder);
  }
}

struct LocateCase {
  const char* Guards;
  bool FileBesideProgram;
  bool FileInDataFolder;
  std::wstring AppData;
  bool Portable;
  bool Loaded;
  std::wstring DataFolder;
};

class Locating : public ::testing::TestWithParam<LocateCase> {};

TEST_P(Locating, ChoosesTheFileAndTheDataFolder) {
  const LocateCase& c = GetParam();
  SettingsFixture f;
  f.Texts.Set(slot::BaseFolder, c.AppData);
  const std::string file = kHeader + "Config = " + std::string(26, '0') + "\r\n";
  if (c.FileBesideProgram)
    f.Files.Files[kProgramFile] = file;
  if (c.FileInDataFolder)
    f.Files.Files[kDataFile] = file;

  const LoadResult loaded = LocateAndLoadSettings(f.Context, SettingsFixture::kDataFolder);
  EXPECT_EQ(loaded.Portable, c.Portable);
  EXPECT_EQ(f.Options.IsOn(opt::PortableMode), c.Portable);
  EXPECT_EQ(f.Options.IsOn(opt::SettingsLoaded), c.Loaded);
  EXPECT_EQ(f.Options.Get(opt::AlwaysOnTop), c.Loaded ? 0 : 1);
  EXPECT_EQ(loaded.DataFolder, c.DataFolder);
  EXPECT_EQ(SettingsFilePath(f.Texts), c.DataFolder + kSettingsFileName);
  EXPECT_EQ(f.Texts.Get(slot::LogFolder),
            c.Portable ? SettingsFixture::kProgramFolder : SettingsFixture::kDataFolder);
}

const std::wstring kProgram = SettingsFixture::kProgramFolder;
const std::wstring kData = SettingsFixture::kDataFolder;
const std::wstring kAppData = SettingsFixture::kAppData;

INSTANTIATE_TEST_SUITE_P(
    Places, Locating,
    ::testing::Values(
        LocateCase{"file_beside_program_wins", true, true, kAppData, true, true, kProgram},
        LocateCase{"file_in_data_folder", false, true, kAppData, false, true, kData},
        LocateCase{"no_file_other_drive_runs_portable", false, false, kAppData, true, false,
                   kProgram},
        LocateCase{"no_file_same_drive", false, false, L"d:\\Users\\ann\\AppData\\Roaming\\", false,
                   false, L"d:\\Users\\ann\\AppData\\Roaming\\Brimhold\\"},
        LocateCase{"no_application_data_folder", false, false, L"", true, false, kProgram}),
    [](const auto& test) { return std::string(test.param.Guards); });

TEST(SettingsFile, LogpathZeroIsTheProgramFolderOutsidePortableUse) {
  SettingsFixture f;
  f.Files.Files[kDataFile] = kHeader + "Logpath = 0\r\n";
  (void)LocateAndLoadSettings(f.Context, SettingsFixture::kDataFolder);
  EXPECT_FALSE(f.Options.IsOn(opt::PortableMode));
  EXPECT_EQ(f.Texts.Get(slot::LogFolder), SettingsFixture::kProgramFolder);
}

// A start that read the file in the data folder.
struct SavedAtStart : SettingsFixture {
  SettingsSaver Saver;
  SavedAtStart() {
    Files.Files[kDataFile] = kHeader + kDefaultConfig + "\r\n";
    (void)LocateAndLoadSettings(Context, kDataFolder);
    Saver.RememberSaved(CurrentSettingsTexts(Context));
  }
  [[nodiscard]] size_t Writes() const {
    size_t count = 0;
    for (const auto& change : Files.Changes)
      count += change == L"write " + kDataFile;
    return count;
  }
};

TEST(SaveIfChanged, WritesOnceForTwoClosesAndCreatesTheDataFolder) {
  SavedAtStart f;
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
  f.Options.Toggle(opt::SoundEnabled);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
  EXPECT_EQ(f.Writes(), 1u);
  EXPECT_EQ(f.Files.Changes.front(), L"mkdir " + SettingsFixture::kDataFolder);
}

TEST(SaveIfChanged, WindowPositionsCountOnlyWhileKept) {
  SavedAtStart f;
  f.Options.Set(opt::MainX, 300);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
  f.Options.Set(opt::RememberPositions, 1);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
  f.Options.Set(opt::MainY, 40);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
}

TEST(SaveIfChanged, FailedWriteKeepsTheOldFile) {
  SavedAtStart f;
  const std::string old = f.Files.Files[kDataFile];
  const std::wstring& folder = SettingsFixture::kDataFolder;
  f.Files.Folders.insert(folder.substr(0, folder.size() - 1));  // the write itself fails
  f.Files.ReadOnlyFolders.insert(SettingsFixture::kDataFolder);
  f.Options.Toggle(opt::SoundEnabled);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Failed);
  EXPECT_EQ(f.Files.Files[kDataFile], old);
}

TEST(ImportExport, CancelledDialogTouchesNothing) {
  SettingsFixture f;
  EXPECT_FALSE(ExportSettings(std::nullopt, f.Context));
  EXPECT_FALSE(ImportSettings(std::nullopt, f.Context).Opened);
  EXPECT_FALSE(f.Files.Touched());
}

TEST(ImportExport, ImportRestoresWhatWasExported) {
  SettingsFixture from;
  from.Options.Set(opt::TransparencyStep, 3);
  from.Options.Set(opt::FirstGraphColour, 0x123);
  from.Texts.Set(slot::FilterDrvToWrite, L"ABCD-1234");
  ASSERT_TRUE(ExportSettings(L"E:\\mine.ini", from.Context));

  SettingsFixture to;
  to.Options.Set(opt::FirstGraphColour + 1, 0x456);  // an earlier import, now replaced
  to.Files.Files[L"E:\\mine.ini"] = from.Files.Files[L"E:\\mine.ini"];
  const ReadResult read = ImportSettings(L"E:\\mine.ini", to.Context);
  EXPECT_TRUE(read.GroupFound);
  EXPECT_TRUE(read.GraphColoursChanged);
  EXPECT_EQ(to.Options.Get(opt::TransparencyStep), 3);
  EXPECT_EQ(to.Options.Get(opt::FirstGraphColour), 0x123);
  EXPECT_EQ(to.Options.Get(opt::FirstGraphColour + 1), to.Defaults.At(opt::FirstGraphColour + 1));
  EXPECT_EQ(to.Texts.Get(slot::FilterDrvToWrite), L"ABCD-1234");
  EXPECT_FALSE(to.Files.Files.count(kDataFile)) << "import must not write the program's file";
}

}  // namespace
}  // namespace tarvik
