#include <gtest/gtest.h>

#include <windows.h>

#include "monitors/system/speed_measurement.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_performance_counters.h"
#include "platform/win32/win32_processors.h"

namespace tarvik::win32 {
namespace {

int SystemProcessorCount() {
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  return static_cast<int>(system.dwNumberOfProcessors);
}

TEST(Win32Environment, ProcessorsAreCountedOverEveryGroupUpTo144) {
  const struct {
    int Groups;
    int AllGroups;
    uint64_t Mask;
    int Counted;
  } cases[] = {
      {1, 8, 0x0F, 4},       // one group: what the affinity allows
      {1, 64, ~0ull, 64},    // a whole group
      {2, 96, 0, 96},        // threads spanning groups read a mask of 0
      {2, 96, 0xFF, 96},     // one group's mask of two
      {4, 256, ~0ull, 144},  // the most the program shows
      {1, 1, 0, 1},          // never none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.AllGroups);
    EXPECT_EQ(CountedProcessors(c.Groups, c.AllGroups, c.Mask), c.Counted);
  }
}

TEST(Win32Processors, TheProcessListCountsProcessesThreadsAndHandles) {
  Win32Processors processors;
  const std::optional<platform::ProcessCounts> counts = processors.Counts();
  ASSERT_TRUE(counts);
  // This process and the system's own are on the list, each with a thread at least; a record
  // read at the wrong place would give numbers far off these.
  EXPECT_GE(counts->Processes, 2);
  EXPECT_LT(counts->Processes, 100'000);
  EXPECT_GE(counts->Threads, counts->Processes);
  EXPECT_LT(counts->Threads, 10'000'000);
  EXPECT_GE(counts->Handles, 0);
  EXPECT_LT(counts->Handles, 100'000'000);
}

TEST(Win32Processors, TimesAndIdleTimesCoverEveryProcessor) {
  Win32Processors processors;
  const auto times = processors.Times();
  ASSERT_TRUE(times);
  EXPECT_EQ(static_cast<int>(times->size()), SystemProcessorCount());
  // The separate idle accounting is missing on some systems (Wine's); where it is given it covers
  // every processor.
  if (const auto idle = processors.IdleTimes()) {
    EXPECT_EQ(static_cast<int>(idle->size()), SystemProcessorCount());
  }
}

TEST(Win32Processors, TheTimestampCounterGivesAPlausibleSpeed) {
  Win32Processors processors;
  const std::optional<int64_t> mhz = MeasureSpeedMhz(processors, [](int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
    return false;
  });
  ASSERT_TRUE(mhz);
  EXPECT_GE(*mhz, 100);
  EXPECT_LE(*mhz, 20'000);
}

// A name comes back as the name alone (no buffer filler after it), and a path built from the
// names is taken exactly when every name in it was given. Wine gives "% Processor Time" but no
// processor object, so there the path is refused.
TEST(Win32PerformanceCounters, PathsFromTheNamesAreTakenWhenEveryNameIsGiven) {
  Win32PerformanceCounters counters;
  const std::wstring processor = counters.NameOf(238);
  const std::wstring processorTime = counters.NameOf(6);
  for (const std::wstring& name : {processor, processorTime})
    EXPECT_EQ(name.find(L'\0'), std::wstring::npos);
  const auto query = counters.OpenQuery();
  if (!query)
    GTEST_SKIP() << "no performance counters here";
  const auto counter = query->Add(L"\\" + processor + L"(0)\\" + processorTime);
  EXPECT_EQ(counter.has_value(), !processor.empty() && !processorTime.empty());
}

}  // namespace
}  // namespace tarvik::win32
