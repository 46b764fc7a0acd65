#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "logs/event_lists.h"
#include "logs/run_event.h"
#include "settings/defaults.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using Rows = std::vector<std::wstring>;

class EventListsTest : public ::testing::Test {
 protected:
  EventListsTest() {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, 4, 0);
  }

  void Fill(ListModel& list, int count) {
    list.Change([count](Rows& rows) {
      for (int i = 0; i < count; ++i)
        rows.push_back(L"old " + std::to_wstring(i));
    });
  }

  WindowUpdateQueue updates;
  ListModel system{129, updates};
  ListModel network{130, updates};
  ListModel drive{131, updates};
  ListModel storageDetail{137, updates};
  Settings settings;
  fakes::FakeClock clock;  // 2024-03-09 14:05:07
  std::vector<std::wstring> logged;
  EventLists lists{{system, network, drive}, settings, clock, [this](const std::wstring& text) {
                     logged.push_back(text);
                   }};
};

TEST_F(EventListsTest, NewestLineTakesTheTopAndTheListNeverHoldsMoreThanItsLimit) {
  struct Case {
    const char* Name;
    int RowsBefore;
    size_t RowsAfter;
    const wchar_t* Bottom;
  };
  const Case cases[] = {
      {"room left: nothing goes", 2, 3, L"old 1"},
      {"full: the oldest line goes", 4, 4, L"old 2"},
      {"over the limit (limit lowered): cut back to it", 9, 4, L"old 2"},
  };
  settings.Set(opt::EventLineLimit, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    system.Change([](Rows& rows) { rows.clear(); });
    Fill(system, c.RowsBefore);
    lists.AddSystemEvent(L"Battery: 50%");
    const Rows rows = system.Rows();
    ASSERT_EQ(rows.size(), c.RowsAfter);
    EXPECT_EQ(rows.front(), L"03-09  14:05:07 - Battery: 50%");
    EXPECT_EQ(rows.back(), c.Bottom);
  }
}

TEST_F(EventListsTest, EventsAreLoggedOnlyWhileLoggingAndTheListsOwnSwitchAreOn) {
  struct Case {
    int LogEnabled;
    int SystemSwitch;
    int NetworkSwitch;
    std::vector<std::wstring> Logged;
  };
  const Case cases[] = {
      {1, 1, 1, {L"sys", L"net"}}, {1, 1, 0, {L"sys"}}, {1, 0, 1, {L"net"}}, {0, 1, 1, {}}};
  for (const Case& c : cases) {
    logged.clear();
    settings.Set(opt::LogEnabled, c.LogEnabled);
    settings.Set(opt::LogSystemEvents, c.SystemSwitch);
    settings.Set(opt::LogNetworkEvents, c.NetworkSwitch);
    lists.AddSystemEvent(L"sys");
    lists.AddNetworkEvent(L"net");
    lists.AddDatedLine(storageDetail, L"detail");
    EXPECT_EQ(logged, c.Logged);
  }
  EXPECT_EQ(network.Rows().front(), L"03-09  14:05:07 - net");
  EXPECT_EQ(storageDetail.Rows().front(), L"03-09  14:05:07 - detail");
}

TEST_F(EventListsTest, EmptyDriveLinesCloseNumberedBlocks) {
  for (const wchar_t* line : {L"C: found.", L"", L"D: lost.", L""})
    lists.AddDriveEventLine(line);
  EXPECT_EQ(drive.Rows(), (Rows{L"", L"-- #0002 2024-03-09 14:05:07", L"D: lost.", L"",
                                L"-- #0001 2024-03-09 14:05:07", L"C: found."}));
  EXPECT_EQ(lists.Saved()[2].Last, 2);

  // The separator and the blank line above it fit the limit together; the number keeps growing
  // past four digits.
  settings.Set(opt::EventLineLimit, 3);
  lists.SetDriveBlockCount(9999);
  lists.AddDriveEventLine(L"");
  EXPECT_EQ(drive.Rows(), (Rows{L"", L"-- #10000 2024-03-09 14:05:07", L""}));
}

TEST(RunEventTextTest, NamesTheVersionInTheUsersLanguage) {
  LoadTranslations(kGerman);
  EXPECT_EQ(RunEventText(RunEvent::Stopped), L"Tarvik v2.33 beendet");
  LoadTranslations(kEnglish);
  EXPECT_EQ(RunEventText(RunEvent::Started), L"Tarvik v2.33 started");
}

}  // namespace
}  // namespace tarvik
