#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fakes/fake_file_system.h"
#include "fakes/fake_system.h"
#include "logs/saga_file.h"
#include "settings/defaults.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using Rows = std::vector<std::wstring>;

const std::wstring kPath = L"C:\\Data\\TK-Saga.json";
const std::wstring kBackup = L"C:\\Data\\TK-Saga.bak";
const EventListHeaders kEnglishHeaders = {L"System Events", L"Network Events", L""};

// One run of the program: its lists, filled by the run or by the events file.
struct ProgramRun {
  explicit ProgramRun(int restoreEvents = 1) {
    ApplyDefaults(settings, 4, 0);
    settings.Set(opt::RestoreEvents, restoreEvents);
  }
  std::vector<Rows> AllRows() const { return {system.Rows(), network.Rows(), drive.Rows()}; }

  WindowUpdateQueue updates;
  ListModel system{129, updates};
  ListModel network{130, updates};
  ListModel drive{131, updates};
  Settings settings;
  fakes::FakeClock clock;
  EventLists lists{{system, network, drive}, settings, clock, nullptr};
};

// The lists the next start shows from the files as they stand.
std::vector<Rows> RestoredRows(fakes::FakeFileSystem files,
                               const EventListHeaders& headers = kEnglishHeaders) {
  ProgramRun next;
  static_cast<void>(RestoreEvents(next.lists, files, kPath, headers));
  return next.AllRows();
}

class SagaFileTest : public ::testing::Test {
 protected:
  SagaFileTest() { LoadTranslations(kEnglish); }
  fakes::FakeFileSystem files;
};

TEST_F(SagaFileTest, ListsComeBackWithSeparatorsAndTheBlockCounterGoesOn) {
  ProgramRun first;
  first.lists.AddSystemEvent(L"Battery: 50%");
  first.lists.AddNetworkEvent(L"LAN connected");
  first.lists.SetDriveBlockCount(6);
  first.lists.AddDriveEventLine(L"E: found.");
  first.lists.AddDriveEventLine(L"");
  ASSERT_TRUE(SaveEvents(first.lists, files, kPath, kEnglishHeaders));
  EXPECT_EQ(files.Files.count(kBackup), 0u);

  const auto saved = nlohmann::json::parse(files.Files[kPath]);
  EXPECT_EQ(saved[0]["Name"], "System Events");
  EXPECT_EQ(saved[2]["Name"], "DriveEvents");
  EXPECT_EQ(saved[2]["Last"], 7);
  EXPECT_EQ(saved[2]["SV"][1]["L"], "-- #0007 2024-03-09 14:05:07");

  ProgramRun next;
  ASSERT_TRUE(RestoreEvents(next.lists, files, kPath, kEnglishHeaders));
  EXPECT_EQ(next.AllRows(), first.AllRows());
  next.lists.AddDriveEventLine(L"");
  EXPECT_EQ(next.drive.Rows()[1], L"-- #0008 2024-03-09 14:05:07");
}

TEST_F(SagaFileTest, NothingToSaveRemovesTheFileAndItsBackup) {
  for (const int restoreEvents : {1, 0}) {
    files.Files = {{kPath, "[]"}, {kBackup, "[]"}};
    ProgramRun run(restoreEvents);
    if (restoreEvents == 0)
      run.lists.AddSystemEvent(L"not kept while restoring is off");
    EXPECT_FALSE(SaveEvents(run.lists, files, kPath, kEnglishHeaders));
    EXPECT_TRUE(files.Files.empty());
  }
}

// Cut off after each change a save makes, with whole or torn writes, and starting from a good
// file or from a torn or empty one beside a good backup, the next start finds the old or the new
// events; a torn file never costs the backup beside it.
TEST_F(SagaFileTest, EveryCutOffSaveLeavesTheOldOrTheNewEvents) {
  ProgramRun old;
  old.lists.AddSystemEvent(L"old");
  ASSERT_TRUE(SaveEvents(old.lists, files, kPath, kEnglishHeaders));
  const std::string good = files.Files[kPath];
  ProgramRun now;
  now.lists.AddSystemEvent(L"new");
  const std::vector<std::map<std::wstring, std::string>> starts = {
      {{kPath, good}},
      {{kPath, good}, {kBackup, "[]"}},
      {{kPath, good.substr(0, 9)}, {kBackup, good}},
      {{kPath, ""}, {kBackup, good}},
      {{kBackup, good}},
  };
  for (const auto& start : starts) {
    for (const bool tear : {false, true}) {
      for (size_t limit = 0; limit <= 5; ++limit) {
        SCOPED_TRACE(testing::Message()
                     << "start " << start.size() << " tear " << tear << " limit " << limit);
        fakes::FakeFileSystem cut;
        cut.Files = start;
        cut.ChangeLimit = limit;
        cut.TearWrites = tear;
        const bool written = SaveEvents(now.lists, cut, kPath, kEnglishHeaders);
        const Rows restored = RestoredRows(cut)[0];
        EXPECT_EQ(restored, written ? now.system.Rows() : old.system.Rows());
      }
    }
  }
}

TEST_F(SagaFileTest, HeaderNamesSkipBlankLinesInAnyLanguageIdentifiersKeepThem) {
  files.Files[kPath] = R"([
    {"Name": "Systemereignisse", "Last": 3, "SV": [{"L": "a"}, {"L": " "}, {"L": "b"}]},
    {"Name": "Unknown", "Last": 1, "SV": [{"L": "lost"}]},
    {"Name": "NetworkEvents", "Last": 2, "SV": [{"L": "x"}, {"L": ""}]},
    {"Name": "DriveEvents", "Last": 4, "SV": [{"L": ""}, {"L": "-- #0004"}]}])";
  const EventListHeaders english = kEnglishHeaders;
  const EventListHeaders german = {L"Systemereignisse", L"Netzwerkereignisse", L""};
  for (const EventListHeaders& headers : {english, german}) {
    EXPECT_EQ(RestoredRows(files, headers),
              (std::vector<Rows>{{L"a", L"b"}, {L"x", L""}, {L"", L"-- #0004"}}));
  }
}

}  // namespace
}  // namespace tarvik
