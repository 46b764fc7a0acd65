#include <gtest/gtest.h>

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
  ProgramLogs logs{{files, clock, settings, texts, paths, updates}, {system, network, drive}};
};

// The events file is written once an hour begins, not on every check, and again at the end.
TEST_F(ProgramLogsTest, EventsAreSavedWhenAnHourBeginsAndAtTheEnd) {
  logs.RestoreEventsAndNoteStart();
  clock.Now = clock.Now - clock.Now % 3600 + 3599;  // hh:59:59
  EXPECT_FALSE(logs.SaveEventsOnNewHour());
  EXPECT_EQ(files.Files.count(kSagaPath), 0u);
  clock.Now += 1;
  EXPECT_TRUE(logs.SaveEventsOnNewHour());
  EXPECT_NE(files.Files[kSagaPath].find("Tarvik v2.33 started"), std::string::npos);
  EXPECT_FALSE(logs.SaveEventsOnNewHour()) << "saved once per hour";

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
  ProgramLogs next{{files, clock, settings, texts, paths, updates},
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

}  // namespace
}  // namespace tarvik
