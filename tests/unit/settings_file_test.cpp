#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/paths.h"
#include "settings/bounded_write_test.h"
#include "settings/import_export.h"
#include "settings/settings_location.h"
#include "settings/settings_saver.h"
#include "settings_fixture.h"

namespace tarvik {
namespace {

using testing::SettingsFixture;

const std::wstring kProgram = SettingsFixture::kProgramFolder;
const std::wstring kData = SettingsFixture::kDataFolder;
const std::wstring kDataFile = kData + kSettingsFileName;
const std::string kHeader = "\xEF\xBB\xBF\r\n[Tarvik]\r\n";
const std::string kDefaultConfig =
    "Config = 11100111100000000001100000"
    "8040100" +
    std::string(17, '0') + "\r\n";

TEST(SettingsFile, WrittenFileIsExact) {
  SettingsFixture f;
  f.Options.Set(opt::RememberPositions, 1);
  f.Options.Set(opt::MainX, 5);
  f.Options.Set(f.FirstProcessorSlot() + 1, 0xFF);
  f.Texts.Set(slot::LogFolder, kProgram);
  f.Texts.Set(slot::FilterDrvToWrite, L"0000-0000");
  f.Texts.Set(slot::FilterNicToWrite, L"00:1A:2B:3C:4D:5E");
  ASSERT_TRUE(WriteSettingsFile(L"E:\\out.ini", f.Context));
  EXPECT_EQ(f.Files.Files[L"E:\\out.ini"],
            kHeader +
                "Config = 11100111100000000001100010"
                "8040100" +
                std::string(17, '0') +
                "\r\nDigits = v5w0x0y0\r\nLogpath = 0\r\nColorCPU = $FF\r\n"
                "FilterNic = 00:1A:2B:3C:4D:5E\r\n");
}

// Every key present: Config, Digits, Logpath, then the three colour lists and the two filters.
TEST(SettingsFile, EveryKeyIsWrittenInItsPlace) {
  SettingsFixture f;
  f.Options.Set(opt::RememberPositions, 1);
  f.Options.Set(opt::MainX, 5);
  f.Options.Set(opt::MainY, 6);
  f.Options.Set(opt::MiniX, 7);
  f.Options.Set(opt::MiniY, -8);
  f.Options.Set(opt::FirstGraphColour, 0x123);
  f.Options.Set(f.FirstProcessorSlot() + 1, 0xFF);
  f.Options.Set(f.FirstGpuSlot() + 2, 0xABCDEF);
  f.Texts.Set(slot::LogFolder, L"E:\\Logs\\");
  f.Texts.Set(slot::FilterDrvToWrite, L"ABCD-1234");
  f.Texts.Set(slot::FilterNicToWrite, L"00:1A:2B:3C:4D:5E");
  ASSERT_TRUE(WriteSettingsFile(L"E:\\out.ini", f.Context));
  EXPECT_EQ(f.Files.Files[L"E:\\out.ini"],
            kHeader +
                "Config = 11100111100000000001100010"
                "8040100" +
                std::string(17, '0') +
                "\r\nDigits = v5w6x7y-8\r\nLogpath = E:\\Logs\\\r\nColorBar = 123\r\n"
                "ColorCPU = $FF\r\nColorGra = $$ABCDEF\r\nFilterDrv = ABCD-1234\r\n"
                "FilterNic = 00:1A:2B:3C:4D:5E\r\n");
}

// Each colour key fills the graphs it names: the history graphs from 301, the processor graphs
// from 400, the GPU graphs from 800.
TEST(SettingsFile, EachColourKeyFillsItsOwnGraphs) {
  const std::pair<const char*, int> keys[] = {
      {"ColorBar", 301}, {"ColorCPU", 400}, {"ColorGra", 800}};
  for (const auto& [key, first] : keys) {
    SCOPED_TRACE(key);
    SettingsFixture f;
    const std::string text = "[Tarvik]\r\n" + std::string(key) + " = 123\r\n";
    static_cast<void>(ApplySettingsFileText(text, f.Context));
    for (const auto& [other, otherFirst] : keys) {
      EXPECT_EQ(f.Options.Get(otherFirst), otherFirst == first ? 0x123 : f.Defaults.At(otherFirst))
          << other;
    }
  }
}

TEST(SettingsFile, MalformedFileLeavesDefaults) {
  for (const std::string& bytes : {std::string("Config = 0000000000000000000000000000"),
                                   std::string("\x00\xFF\x01garbage", 10)}) {
    SettingsFixture f;
    f.Files.Files[kDataFile] = bytes;
    const LoadResult loaded = LocateAndLoadSettings(f.Context, kData);
    EXPECT_TRUE(loaded.Read.Opened);
    EXPECT_FALSE(loaded.Read.GroupFound);
    EXPECT_EQ(f.Options.Get(opt::AlwaysOnTop), 1);
  }
}

TEST(SettingsFile, LocatingChoosesTheFileAndTheDataFolder) {
  struct Case {
    const char* Guards;
    bool BesideProgram, InDataFolder;
    std::wstring AppData;
    bool Portable, Loaded;
    std::wstring DataFolder;
  };
  const std::wstring sameDrive = L"d:\\Users\\ann\\AppData\\Roaming\\";
  const Case cases[] = {
      {"file beside program wins", true, true, SettingsFixture::kAppData, true, true, kProgram},
      {"file in data folder", false, true, SettingsFixture::kAppData, false, true, kData},
      {"no file, other drive", false, false, SettingsFixture::kAppData, true, false, kProgram},
      {"no file, same drive", false, false, sameDrive, false, false, sameDrive + L"Brimhold\\"},
      {"no application data", false, false, L"", true, false, kProgram}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Guards);
    SettingsFixture f;
    f.Texts.Set(slot::BaseFolder, c.AppData);
    const std::string file = kHeader + "Config = " + std::string(26, '0') + "\r\n";
    if (c.BesideProgram)
      f.Files.Files[kProgram + kSettingsFileName] = file;
    if (c.InDataFolder)
      f.Files.Files[kDataFile] = file;

    const LoadResult loaded = LocateAndLoadSettings(f.Context, kData);
    EXPECT_EQ(f.Options.IsOn(opt::PortableMode), c.Portable);
    EXPECT_EQ(f.Options.IsOn(opt::SettingsLoaded), c.Loaded);
    EXPECT_EQ(f.Options.Get(opt::AlwaysOnTop), c.Loaded ? 0 : 1);
    EXPECT_EQ(loaded.DataFolder, c.DataFolder);
    EXPECT_EQ(SettingsFilePath(f.Texts), c.DataFolder + kSettingsFileName);
    EXPECT_EQ(f.Texts.Get(slot::LogFolder), c.Portable ? kProgram : kData);
  }
}

TEST(SettingsFile, LogpathZeroIsTheProgramFolderOutsidePortableUse) {
  SettingsFixture f;
  f.Files.Files[kDataFile] = kHeader + "Logpath = 0\r\n";
  (void)LocateAndLoadSettings(f.Context, kData);
  EXPECT_FALSE(f.Options.IsOn(opt::PortableMode));
  EXPECT_EQ(f.Texts.Get(slot::LogFolder), kProgram);
}

TEST(SettingsFile, PortableUseLogsBesideTheProgramOnlyWhereItCanWrite) {
  struct Case {
    const char* Guards;
    std::string Logpath;
    bool ProgramFolderWritable;
    std::wstring LogFolder;
  };
  const Case cases[] = {{"no Logpath, writable", "", true, kProgram},
                        {"no Logpath, read-only", "", false, kData},
                        {"Logpath 0, read-only", "Logpath = 0\r\n", false, kData},
                        {"other Logpath, read-only", "Logpath = E:\\Logs\r\n", false, kData},
                        {"Logpath 0, writable", "Logpath = 0\r\n", true, kProgram}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Guards);
    SettingsFixture f;
    f.Files.Files[kProgram + kSettingsFileName] = kHeader + c.Logpath;
    if (!c.ProgramFolderWritable)
      f.Files.ReadOnlyFolders.insert(kProgram);
    const LoadResult loaded = LocateAndLoadSettings(f.Context, kData);
    EXPECT_TRUE(f.Options.IsOn(opt::PortableMode));
    EXPECT_EQ(loaded.DataFolder, kProgram);
    EXPECT_EQ(f.Texts.Get(slot::LogFolder), c.LogFolder);
  }
}

// On the window thread a folder's write test is bounded in time: a share that does not answer
// in time is refused like a read-only folder, at an import and at a portable start alike, and
// its late answer changes nothing.
TEST(SettingsFile, AFolderWhoseWriteTestDoesNotAnswerInTimeIsNotTaken) {
  const std::wstring share = L"\\\\nas\\logs\\";
  for (const bool answering : {true, false}) {
    SCOPED_TRACE(answering ? "answering" : "not answering");
    std::vector<std::function<void()>> held;
    SettingsFixture imports;
    SettingsFixture starts;
    for (SettingsFixture* f : {&imports, &starts}) {
      const auto start = [&held, answering](std::function<void()> work) {
        answering ? work() : held.push_back(std::move(work));
        return true;
      };
      f->Context.PassesWriteTest = [test = BoundedWriteTest(f->Files, start, {})](
                                       const std::wstring& folder) { return test.Passes(folder); };
    }
    imports.Files.Files[L"E:\\in.ini"] = kHeader + "Logpath = \\\\nas\\logs\r\n";
    EXPECT_EQ(ImportSettings(L"E:\\in.ini", imports.Context).LogFolderRefused, !answering);
    starts.Files.Files[kProgram + kSettingsFileName] = kHeader;
    (void)LocateAndLoadSettings(starts.Context, kData);
    for (const std::function<void()>& late : held)
      late();
    EXPECT_EQ(imports.Texts.Get(slot::LogFolder), answering ? share : kData);
    EXPECT_EQ(starts.Texts.Get(slot::LogFolder), answering ? kProgram : kData);
  }
}

// A start that read the file in the data folder.
struct SavedAtStart : SettingsFixture {
  SettingsSaver Saver;
  SavedAtStart() {
    Files.Files[kDataFile] = kHeader + kDefaultConfig;
    (void)LocateAndLoadSettings(Context, kData);
    Saver.RememberSaved(CurrentSettingsTexts(Context));
  }
};

TEST(SaveIfChanged, WritesOnceForTwoClosesAndCreatesTheDataFolder) {
  SavedAtStart f;
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
  f.Options.Toggle(opt::SoundEnabled);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
  EXPECT_EQ(f.Files.Changes, (std::vector<std::wstring>{L"mkdir " + kData, L"write " + kDataFile}));
}

// Each text the file holds is compared on its own: changing only it writes the file, with the
// change in it, and a second close writes nothing. The window positions are kept here.
TEST(SaveIfChanged, EachSavedTextAloneCausesAWrite) {
  struct Case {
    const char* Guards;
    void (*Change)(SettingsFixture&);
  };
  const Case cases[] = {
      {"nothing changed", nullptr},
      {"a flag", [](SettingsFixture& f) { f.Options.Toggle(opt::SoundEnabled); }},
      {"the storage unit", [](SettingsFixture& f) { f.Options.Set(opt::StorageUnit, 3); }},
      {"the log folder", [](SettingsFixture& f) { f.Texts.Set(slot::LogFolder, L"E:\\Logs\\"); }},
      {"a history graph colour",
       [](SettingsFixture& f) { f.Options.Set(opt::FirstGraphColour + 3, 0x10); }},
      {"a processor graph colour",
       [](SettingsFixture& f) { f.Options.Set(f.FirstProcessorSlot() + 2, 0x10); }},
      {"a GPU graph colour", [](SettingsFixture& f) { f.Options.Set(f.FirstGpuSlot() + 5, 0x10); }},
      {"the main window x", [](SettingsFixture& f) { f.Options.Set(opt::MainX, 1); }},
      {"the main window y", [](SettingsFixture& f) { f.Options.Set(opt::MainY, 1); }},
      {"the mini window x", [](SettingsFixture& f) { f.Options.Set(opt::MiniX, 1); }},
      {"the mini window y", [](SettingsFixture& f) { f.Options.Set(opt::MiniY, 1); }},
      {"the drive filter",
       [](SettingsFixture& f) { f.Texts.Set(slot::FilterDrvToWrite, L"ABCD-1234"); }},
      {"the adapter filter",
       [](SettingsFixture& f) { f.Texts.Set(slot::FilterNicToWrite, L"00:1A:2B:3C:4D:5E"); }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Guards);
    SavedAtStart f;
    f.Options.Set(opt::RememberPositions, 1);
    ASSERT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
    const std::string before = f.Files.Files[kDataFile];
    if (c.Change == nullptr) {
      EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
      continue;
    }
    c.Change(f);
    EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
    EXPECT_NE(f.Files.Files[kDataFile], before);
    EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Unchanged);
  }
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
  f.Files.Folders.insert(kData.substr(0, kData.size() - 1));  // the write itself must fail
  f.Files.ReadOnlyFolders.insert(kData);
  f.Options.Toggle(opt::SoundEnabled);
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Failed);
  EXPECT_EQ(f.Files.Files[kDataFile], kHeader + kDefaultConfig);
  // The change is not forgotten: once the disk takes writes again, the next save writes it.
  f.Files.ReadOnlyFolders.clear();
  EXPECT_EQ(f.Saver.SaveIfChanged(f.Context), SaveOutcome::Written);
  EXPECT_NE(f.Files.Files[kDataFile], kHeader + kDefaultConfig);
}

TEST(ImportExport, ImportReplacesSettingsWithTheExportedOnes) {
  SettingsFixture from;
  from.Options.Set(opt::TransparencyStep, 3);
  from.Options.Set(opt::FirstGraphColour, 0x123);
  from.Texts.Set(slot::FilterDrvToWrite, L"ABCD-1234");
  ASSERT_TRUE(ExportSettings(L"E:\\mine.ini", from.Context));

  SettingsFixture to;
  to.Options.Set(opt::FirstGraphColour + 1, 0x456);  // from an earlier import
  to.Files.Files = from.Files.Files;
  EXPECT_TRUE(ImportSettings(L"E:\\mine.ini", to.Context).GraphColoursChanged);
  EXPECT_EQ(to.Options.Get(opt::TransparencyStep), 3);
  EXPECT_EQ(to.Options.Get(opt::FirstGraphColour), 0x123);
  EXPECT_EQ(to.Options.Get(opt::FirstGraphColour + 1), to.Defaults.At(opt::FirstGraphColour + 1));
  EXPECT_EQ(to.Texts.Get(slot::FilterDrvToWrite), L"ABCD-1234");
  EXPECT_EQ(to.Files.Files.count(kDataFile), 0u);
}

// Only a file with the program's group and of a settings file's size is imported.
TEST(ImportExport, AFileWithoutTheGroupOrTooLargeChangesNothing) {
  const std::string config =
      "[Tarvik]\r\nConfig = 11100111100000000001100000"
      "3040100" +
      std::string(17, '0') + "\r\n";
  const auto padded = [&](int64_t size) {
    return config + std::string(static_cast<size_t>(size) - config.size(), ' ');
  };
  const struct {
    const char* Guards;
    std::string Bytes;
    bool Taken;
  } cases[] = {{"a settings file", config, true},
               {"no group", config.substr(config.find('C')), false},
               {"largest taken", padded(kMaxSettingsFileBytes), true},
               {"one byte too large", padded(kMaxSettingsFileBytes + 1), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Guards);
    SettingsFixture f;
    f.Files.Files[L"E:\\in.ini"] = c.Bytes;
    EXPECT_EQ(ImportSettings(L"E:\\in.ini", f.Context).GroupFound, c.Taken);
    EXPECT_EQ(f.Options.Get(opt::TransparencyStep), c.Taken ? 3 : 8);
  }
}

}  // namespace
}  // namespace tarvik
