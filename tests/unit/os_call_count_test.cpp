#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "platform/os_call_count.h"

namespace tarvik::platform {
namespace {

using Totals = std::map<std::pair<std::string, std::string>, OsCallTally>;

// The table's rows summed over the seconds, by thread and call.
Totals TotalsOf(const OsCallTable& table) {
  Totals totals;
  for (const OsCallRow& row : table.Rows()) {
    OsCallTally& total = totals[{row.Thread, row.Call}];
    total.Calls += row.Tally.Calls;
    total.Nanoseconds += row.Tally.Nanoseconds;
  }
  return totals;
}

void CountCalls(OsCallTable& table, const std::wstring& threadName, const char* call, int times) {
  if (!threadName.empty())
    NameCountedThread(threadName);
  for (int i = 0; i < times; ++i)
    const CountedOsCall counted(call, table);
}

TEST(OsCallCount, EachCallCountsForTheThreadThatMadeItUnderItsName) {
  OsCallTable table;
  std::thread storage(CountCalls, std::ref(table), L"storage monitor", "GetDiskFreeSpaceExW", 3);
  std::thread ping(CountCalls, std::ref(table), L"ping\tcoordinator \u00e9", "IcmpSendEcho2", 2);
  std::thread unnamed(CountCalls, std::ref(table), L"", "GetDiskFreeSpaceExW", 1);
  storage.join();
  ping.join();
  unnamed.join();
  const Totals totals = TotalsOf(table);
  ASSERT_EQ(totals.size(), 3u);
  EXPECT_EQ(totals.at({"storage monitor", "GetDiskFreeSpaceExW"}).Calls, 3);
  EXPECT_EQ(totals.at({"ping?coordinator ?", "IcmpSendEcho2"}).Calls, 2);
  EXPECT_EQ(totals.at({"unnamed", "GetDiskFreeSpaceExW"}).Calls, 1);
}

// The outer call keeps only its own time, so a thread's times add up to its time in calls.
TEST(OsCallCount, CallInsideAnotherTakesItsTimeOutOfTheOuterCall) {
  constexpr auto kInnerLength = std::chrono::milliseconds(60);
  OsCallTable table;
  {
    const CountedOsCall outer("outer", table);
    const CountedOsCall inner("inner", table);
    std::this_thread::sleep_for(kInnerLength);
  }
  const Totals totals = TotalsOf(table);
  const auto inner = std::chrono::nanoseconds(totals.at({"unnamed", "inner"}).Nanoseconds);
  const auto outer = std::chrono::nanoseconds(totals.at({"unnamed", "outer"}).Nanoseconds);
  EXPECT_GE(inner, kInnerLength);
  EXPECT_LT(outer, kInnerLength / 2);
}

TEST(OsCallCount, SecondsOlderThanTheKeptOnesFoldIntoSecondZeroWithTheirTotals) {
  constexpr int64_t kFirst = 1'700'000'000;
  constexpr int64_t kKept = OsCallTable::kKeptSeconds;
  struct Case {
    const char* Name;
    int64_t Second;
    int64_t SecondInTable;
  };
  // The newest second added last is kFirst + kKept.
  const Case cases[] = {
      {"oldest, folded", kFirst, 0},
      {"oldest kept", kFirst + 1, kFirst + 1},
      {"newest", kFirst + kKept, kFirst + kKept},
  };
  OsCallTable table;
  for (const Case& c : cases)
    table.Add(c.Second, "t", c.Name, 5);
  table.Add(kFirst, "t", "oldest, folded", 7);  // late, and older than the kept seconds
  for (const OsCallRow& row : table.Rows()) {
    SCOPED_TRACE(row.Call);
    const auto found = std::find_if(std::begin(cases), std::end(cases),
                                    [&](const Case& c) { return row.Call == c.Name; });
    ASSERT_NE(found, std::end(cases));
    EXPECT_EQ(row.UnixSecond, found->SecondInTable);
  }
  EXPECT_EQ(TotalsOf(table).at({"t", "oldest, folded"}).Calls, 2);
  EXPECT_EQ(TotalsOf(table).at({"t", "oldest, folded"}).Nanoseconds, 12);
}

TEST(OsCallCount, TheProgramsTableGoesToTheFileTheEnvironmentNames) {
  const std::string path = ::testing::TempDir() + "os-calls.txt";
  ::unsetenv("TARVIK_OS_CALLS_FILE");
  EXPECT_FALSE(WriteProgramOsCalls());
  ProgramOsCalls().Add(1'700'000'123, "storage monitor", "GetDriveTypeW\n", 2'500);
  ::setenv("TARVIK_OS_CALLS_FILE", path.c_str(), 1);
  ASSERT_TRUE(WriteProgramOsCalls());
  ::unsetenv("TARVIK_OS_CALLS_FILE");
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str().substr(0, text.str().find('\n') + 1),
            "unix second\tthread\tcall\tcalls\tnanoseconds\n");
  EXPECT_NE(text.str().find("\n1700000123\tstorage monitor\tGetDriveTypeW?\t1\t2500\n"),
            std::string::npos);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tarvik::platform
