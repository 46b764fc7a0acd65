#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "app/program_logs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_system.h"
#include "settings/defaults.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

const std::wstring kSagaPath = L"C:\\Data\\TK-Saga.json";

struct ProgramLogsTest : ::testing::Test {
  ProgramLogsTest() {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, 4, clock.Now);
    settings.Set(opt::RestoreEvents, 1);
    paths.Lock()->SagaStatePath = kSagaPath;
  }

  fakes::FakeFileSystem files;
  fakes::FakeClock clock;
  Settings settings;
  TextSlots texts;
  Guarded<Paths> paths;
  WindowUpdateQueue updates;
  ListModel system{gadget::SystemEventsList, updates};
  ListModel network{gadget::NetworkEventsList, updates};
  ListModel drive{gadget::DriveEventsList, updates};
  ProgramLogs logs{{files, clock, settings, texts, paths, updates, nullptr},
                   {system, network, drive}};
};

// The events file holds the run's start and, saved at the end, its stop.
TEST_F(ProgramLogsTest, EventsAreSavedWithTheRunsStartAndStop) {
  logs.RestoreEventsAndNoteStart();
  ASSERT_TRUE(logs.SaveEvents());
  EXPECT_NE(files.Files[kSagaPath].find("Tarvik v2.33 started"), std::string::npos);

  logs.NoteStop();
  ASSERT_TRUE(logs.SaveEvents());
  EXPECT_NE(files.Files[kSagaPath].find("Tarvik v2.33 stopped"), std::string::npos);
}

// The next run shows the last run's events below its own start, in both event lists.
TEST_F(ProgramLogsTest, ANewRunNotesItsStartAboveTheRestoredEvents) {
  logs.RestoreEventsAndNoteStart();
  logs.NoteStop();
  ASSERT_TRUE(logs.SaveEvents());

  ListModel nextSystem{gadget::SystemEventsList, updates};
  ListModel nextNetwork{gadget::NetworkEventsList, updates};
  ListModel nextDrive{gadget::DriveEventsList, updates};
  ProgramLogs next{{files, clock, settings, texts, paths, updates, nullptr},
                   {nextSystem, nextNetwork, nextDrive}};
  next.RestoreEventsAndNoteStart();
  for (const ListModel* list : {&nextSystem, &nextNetwork}) {
    const std::vector<std::wstring> rows = list->Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[0].find(L"started"), std::wstring::npos);
    EXPECT_NE(rows[1].find(L"stopped"), std::wstring::npos);
    EXPECT_NE(rows[2].find(L"started"), std::wstring::npos);
  }
}

// The events file is written before the log's last lines, so that a log folder that does not
// answer cannot cost the events.
TEST_F(ProgramLogsTest, TheEndOfTheRunSavesTheEventsBeforeTheLogsLastLines) {
  settings.Set(opt::LogEnabled, 1);
  texts.Set(slot::LogFolder, L"C:\\Logs\\");
  logs.RestoreEventsAndNoteStart();
  logs.Log().LogLine(L"C: 1 2 3 4");
  logs.EndRun(L"1 Hour", false);
  EXPECT_EQ(files.Changes,
            (std::vector<std::wstring>{L"write " + kSagaPath, L"append C:\\Logs\\TK202403.log"}));
}

// The hourly save on another thread and the save at the end can meet. Interleaved, the first
// would read the second's file back as its own, take its write for failed and put back a backup
// the second had removed, leaving no file. The second waits instead.
TEST_F(ProgramLogsTest, ASecondSaveWaitsForTheFirst) {
  logs.RestoreEventsAndNoteStart();
  ASSERT_TRUE(logs.SaveEvents());
  std::future<bool> second;
  files.OnRead = [&, reads = 0](const std::wstring&) mutable {
    if (++reads != 2)  // the first save reads the old file, then its new one back
      return;
    logs.Events().AddSystemEvent(L"later");
    second = std::async(std::launch::async, [&] { return logs.SaveEvents(); });
    // Unserialised, the second save runs through within this generous moment.
    static_cast<void>(second.wait_for(std::chrono::milliseconds(500)));
  };
  EXPECT_TRUE(logs.SaveEvents());
  ASSERT_TRUE(second.valid());
  EXPECT_TRUE(second.get());
  EXPECT_NE(files.Files[kSagaPath].find("later"), std::string::npos);
}

}  // namespace
}  // namespace tarvik
