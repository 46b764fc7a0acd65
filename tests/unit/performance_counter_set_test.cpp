#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_performance_counters.h"
#include "monitors/system/performance_counter_set.h"

namespace tarvik {
namespace {

// Short-lived threads as the tests see them: run at once, kept for later, or refused.
enum class Tasks { RunAtOnce, Kept, Refused };

// One start-up of the counter set over fake counters, at tick 0, with what it said.
struct StartedSet {
  explicit StartedSet(const std::function<void(fakes::FakePerformanceCounters&)>& prepare,
                      Tasks taskMode = Tasks::RunAtOnce)
      : tasks(taskMode) {
    prepare(counters);
    set.Start(2, 0, report, [this] { ++repairing; });
  }
  void AwaitNamesAt(int64_t tickMs) { set.AwaitNames(tickMs, report); }

  Tasks tasks;
  std::vector<std::function<void()>> kept;
  fakes::FakePerformanceCounters counters;
  PerformanceCounterSet set{counters,
                            [this](std::function<void()> work) {
                              if (tasks == Tasks::Refused)
                                return false;
                              if (tasks == Tasks::Kept)
                                kept.push_back(std::move(work));
                              else
                                work();
                              return true;
                            },
                            L"C:\\Windows\\syswow64"};
  std::vector<std::wstring> messages;
  CounterReport report = [this](const std::wstring& message) { messages.push_back(message); };
  int repairing = 0;
};

TEST(PerformanceCounterSet, EachStartUpFailureIsShownAndTurnsTheCountersOff) {
  using Counters = fakes::FakePerformanceCounters;
  const struct {
    const char* Name;
    std::function<void(Counters&)> Prepare;
    std::vector<std::wstring> Messages;
  } cases[] = {
      {"NoQueryOpens", [](Counters& c) { c.OpenRefused = true; }, {L"PdhOpenQuery Test Failed"}},
      {"AProcessorCounterIsRefused",
       [](Counters& c) { c.RefusedPaths = {L"\\Processor(1)\\% Processor Time"}; },
       {L"PdhAddCounter Failed: \\Processor(1)\\% Processor Time"}},
      {"ACountIsRefused",
       [](Counters& c) { c.RefusedPaths = {L"\\Process(_Total)\\Handle Count"}; },
       {L"PdhOpenQuery Failed on Process/Threads/Handles"}},
      {"TheFirstCollectionFails",
       [](Counters& c) { c.FailingCollects = {L"\\System\\Processes"}; },
       {L"PdhOpenQuery Failed on Process/Threads/Handles"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    StartedSet started(c.Prepare);
    EXPECT_EQ(started.messages, c.Messages);
    EXPECT_FALSE(started.set.On());
    EXPECT_FALSE(started.set.ReadProcessors());
    EXPECT_FALSE(started.set.UptimeSeconds());
  }
}

TEST(PerformanceCounterSet, TheUptimeAndDriveQueriesFailQuietlyAndAlone) {
  StartedSet started([](fakes::FakePerformanceCounters& c) {
    c.RefusedPaths = {L"\\2\\674"};
    c.FailingCollects = {L"\\PhysicalDisk(_Total)\\Disk Write Bytes/sec"};
    c.Values = {{L"\\Processor(0)\\% Processor Time", -3.0},  // a broken counter reads as 0
                {L"\\Processor(1)\\% Processor Time", 104.5}};
  });
  EXPECT_TRUE(started.messages.empty());
  EXPECT_TRUE(started.set.On());
  EXPECT_FALSE(started.set.UptimeSeconds());
  EXPECT_FALSE(started.set.ReadDrives());
  const std::optional<CounterReading> reading = started.set.ReadProcessors();
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->Loads, (std::vector<double>{0.0, 104.5}));
  EXPECT_FALSE(reading->Counts);  // no values set for them
}

TEST(PerformanceCounterSet, MissingNamesAreRebuiltAndLookedForEveryQuarterSecond) {
  // The start-up's lookup and the first two polls find no name; the third does.
  StartedSet started([](fakes::FakePerformanceCounters& c) { c.EmptyLookups[238] = 3; });
  EXPECT_EQ(started.counters.RebuildsStarted, 1);
  EXPECT_EQ(started.counters.RebuildFolder, L"C:\\Windows\\syswow64");
  EXPECT_EQ(started.repairing, 1);
  for (const int64_t tick : {125, 250, 375, 500, 625}) {
    started.AwaitNamesAt(tick);
    EXPECT_TRUE(started.set.AwaitingNames()) << tick;
  }
  started.AwaitNamesAt(750);
  EXPECT_FALSE(started.set.AwaitingNames());
  EXPECT_TRUE(started.set.On());
  EXPECT_TRUE(started.messages.empty());
}

TEST(PerformanceCounterSet, NamesThatDoNotComeBackAreAwaitedForAMinute) {
  StartedSet started([](fakes::FakePerformanceCounters& c) { c.EmptyLookups[238] = 100'000; });
  constexpr int64_t kMinute =
      PerformanceCounterSet::kRepairPolls * PerformanceCounterSet::kRepairPollMs;
  EXPECT_EQ(kMinute, 60'000);
  for (int64_t tick = 125; tick < kMinute; tick += 125)
    started.AwaitNamesAt(tick);
  EXPECT_TRUE(started.set.AwaitingNames());
  EXPECT_TRUE(started.messages.empty());
  started.AwaitNamesAt(kMinute);
  EXPECT_FALSE(started.set.AwaitingNames());
  EXPECT_FALSE(started.set.On());
  EXPECT_EQ(started.messages,
            std::vector<std::wstring>{L"PdhAddCounter Failed: \\(0)\\% Processor Time"});
}

TEST(PerformanceCounterSet, ARebuildThatCannotStartIsNotAwaited) {
  for (const Tasks tasks : {Tasks::RunAtOnce, Tasks::Refused}) {
    StartedSet started(
        [](fakes::FakePerformanceCounters& c) {
          c.EmptyLookups[238] = 100'000;
          c.RebuildStarts = false;
        },
        tasks);
    EXPECT_EQ(started.counters.RebuildsStarted, tasks == Tasks::RunAtOnce ? 1 : 0);
    EXPECT_EQ(started.repairing, 0);
    EXPECT_FALSE(started.set.AwaitingNames());
    EXPECT_EQ(started.messages,
              std::vector<std::wstring>{L"PdhAddCounter Failed: \\(0)\\% Processor Time"});
  }
}

// The rebuild waits for the user to allow it: it runs on a thread of its own, the sampler goes
// on, and a rebuild that turns out not to start ends the wait at the next look.
TEST(PerformanceCounterSet, TheRebuildRunsOnAThreadOfItsOwn) {
  StartedSet started(
      [](fakes::FakePerformanceCounters& c) {
        c.EmptyLookups[238] = 100'000;
        c.RebuildStarts = false;
      },
      Tasks::Kept);
  EXPECT_EQ(started.counters.RebuildsStarted, 0);
  EXPECT_EQ(started.repairing, 1);
  ASSERT_EQ(started.kept.size(), 1u);
  started.AwaitNamesAt(250);
  EXPECT_TRUE(started.set.AwaitingNames()) << "still asking the user";
  started.kept[0]();
  EXPECT_EQ(started.counters.RebuildsStarted, 1);
  EXPECT_EQ(started.counters.RebuildFolder, L"C:\\Windows\\syswow64");
  started.AwaitNamesAt(500);
  EXPECT_FALSE(started.set.AwaitingNames());
  EXPECT_EQ(started.messages,
            std::vector<std::wstring>{L"PdhAddCounter Failed: \\(0)\\% Processor Time"});
}

}  // namespace
}  // namespace tarvik
