#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/win32/win32_own_process.h"

namespace tarvik::win32 {
namespace {

constexpr uint64_t kCpuUnitsPerMs = 10'000;

TEST(Win32OwnProcess, FiguresAreThoseOfThisProcess) {
  Win32OwnProcess process;
  const auto before = process.Figures();
  ASSERT_TRUE(before);
  EXPECT_GT(before->WorkingSetBytes, 0u);
  EXPECT_GE(before->Threads, 1u);
  EXPECT_GT(before->Handles, 0u);
  // The cheap reading is the same working set, give or take what a few calls touch.
  const auto workingSet = process.WorkingSetBytes();
  ASSERT_TRUE(workingSet);
  EXPECT_GT(*workingSet, before->WorkingSetBytes / 2);
  EXPECT_LT(*workingSet, before->WorkingSetBytes * 2);

  // A thread more is counted as this process's own. (Wine counts handles in whole blocks of its
  // handle table, so one handle more need not show.)
  std::atomic<bool> release{false};
  std::thread waiting([&] {
    while (!release)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  const auto during = process.Figures();
  release = true;
  waiting.join();
  ASSERT_TRUE(during);
  EXPECT_GT(during->Threads, before->Threads);
}

TEST(Win32OwnProcess, ProcessorTimeGrowsWithWorkDone) {
  Win32OwnProcess process;
  const auto before = process.ProcessorTime();
  ASSERT_TRUE(before);
  EXPECT_GT(before->AgeMs, 0);
  EXPECT_LT(before->AgeMs, 24 * 3'600 * 1'000);
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  EXPECT_LE(before->StartUnixSeconds, now);
  EXPECT_GT(before->StartUnixSeconds, now - 3'600);
  const auto started = std::chrono::steady_clock::now();
  volatile uint64_t sink = 0;
  while (std::chrono::steady_clock::now() - started < std::chrono::milliseconds(300))
    sink = sink + 1;
  const auto after = process.ProcessorTime();
  ASSERT_TRUE(after);
  // Busy for 300 ms: at least 100 ms counted even on a machine shared with other work.
  EXPECT_GE(after->CpuTime - before->CpuTime, 100 * kCpuUnitsPerMs);
  EXPECT_GE(after->AgeMs - before->AgeMs, 250);
}

}  // namespace
}  // namespace tarvik::win32
