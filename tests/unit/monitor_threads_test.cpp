#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "core/monitor_threads.h"
#include "fakes/fake_system.h"
#include "unit/sleeper_contract.h"

namespace tarvik {
namespace {

// Counts its passes; a stuck one never returns from its pass until released.
class CountingMonitor : public MonitorThread {
 public:
  CountingMonitor(StopSignal& stop, const platform::Clock& clock, platform::Environment& env,
                  std::atomic<bool>* hold = nullptr)
      : MonitorThread(L"counting", 20, stop, clock, env), hold_(hold) {}

  int Pass(int64_t) override {
    passes.fetch_add(1);
    while (hold_ && hold_->load())
      std::this_thread::yield();
    return 5;
  }

  std::atomic<int> passes{0};

 private:
  std::atomic<bool>* hold_;
};

TEST(MonitorThreads, StopEndsSleepingMonitorsWithoutCountingWaits) {
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  MonitorThreads monitors(stop, environment);
  auto monitor = std::make_unique<CountingMonitor>(stop, clock, environment);
  CountingMonitor* watched = monitor.get();
  monitors.StartMonitor(std::move(monitor));
  while (watched->passes.load() == 0)
    std::this_thread::yield();

  int sleeps = 0;
  // Real time passes between the counted waits so that the thread can see the flag.
  const int abandoned = monitors.StopAll([&](int ms) {
    ++sleeps;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  });
  EXPECT_EQ(abandoned, 0);
  EXPECT_LT(sleeps, MonitorThreads::kMaxStopWaits - 1);
  EXPECT_EQ(environment.Priorities, std::vector<int>{20});
  EXPECT_EQ(monitors.Count(), 0u);
}

TEST(MonitorThreads, AMonitorThatDoesNotStopIsAbandonedAfterFiftyCountedWaits) {
  // The stuck thread keeps using these after the test; they must outlive it.
  static Settings settings;
  static StopSignal stop(settings);
  static fakes::FakeClock clock;
  static fakes::FakeEnvironment environment;
  static std::atomic<bool> hold{true};
  static MonitorThreads monitors(stop, environment);
  auto monitor = std::make_unique<CountingMonitor>(stop, clock, environment, &hold);
  CountingMonitor* watched = monitor.get();
  monitors.StartMonitor(std::move(monitor));
  while (watched->passes.load() == 0)
    std::this_thread::yield();

  int sleeps = 0;
  EXPECT_EQ(monitors.StopAll([&](int ms) {
    EXPECT_EQ(ms, MonitorThreads::kStopWaitMs);
    ++sleeps;
  }),
            1);
  EXPECT_EQ(sleeps, MonitorThreads::kMaxStopWaits - 1);
  EXPECT_EQ(settings.Get(opt::StopFlag), MonitorThreads::kMaxStopWaits);
  hold = false;  // lets the abandoned thread run out before the statics go
  while (watched->IsAlive())
    std::this_thread::yield();
}

TEST(MonitorThreads, ShutDownWaitsForShortLivedHelpersAndRefusesNewOnes) {
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeEnvironment environment;
  MonitorThreads threads(stop, environment);
  std::atomic<bool> release{false};
  std::atomic<int> finished{0};
  // Many helpers come and go: the ended ones are let go, only the running one stays counted.
  for (int helper = 0; helper < 20; ++helper)
    ASSERT_TRUE(threads.StartTask(L"copy", [&] { finished.fetch_add(1); }));
  while (finished.load() < 20)
    std::this_thread::yield();
  ASSERT_TRUE(threads.StartTask(L"lookup", [&] {
    while (!release.load())
      std::this_thread::yield();
  }));
  EXPECT_TRUE(threads.IsAlive(L"lookup"));
  EXPECT_LE(threads.Count(), 21u);

  int sleeps = 0;
  const int abandoned = threads.StopAll([&](int) {
    // The helper finishes during the third wait; shut-down must still be waiting for it.
    if (++sleeps == 3) {
      release = true;
      while (threads.IsAlive(L"lookup"))
        std::this_thread::yield();
    }
  });
  EXPECT_EQ(sleeps, 3);
  EXPECT_EQ(abandoned, 0);
  EXPECT_FALSE(threads.StartTask(L"late", [] {}));
  EXPECT_FALSE(threads.AnyAlive());
}

// Fails or succeeds pass by pass, as its script says.
class ScriptedMonitor : public MonitorThread {
 public:
  ScriptedMonitor(StopSignal& stop, const platform::Clock& clock, platform::Environment& env,
                  std::vector<int> script)
      : MonitorThread(L"scripted", 20, stop, clock, env), script_(std::move(script)) {}

  // A negative entry throws; any other is the sleep the pass asks for.
  int Pass(int64_t) override {
    const int step = script_.at(pass_++);
    if (step < 0)
      throw std::runtime_error("drive gone");
    return step;
  }

 private:
  std::vector<int> script_;
  size_t pass_ = 0;
};

TEST(MonitorThreads, AFailedPassIsReportedOnceAndTheMonitorGoesOnWithItsLastSleep) {
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  ScriptedMonitor monitor(stop, clock, environment, {-1, 100, -1, -1, 250, -1});
  std::vector<std::wstring> reports;
  monitor.OnPassFailed([&](const std::wstring& name, const std::wstring& what) {
    reports.push_back(name + L": " + what);
  });
  std::vector<int> sleeps;
  for (int pass = 0; pass < 6; ++pass)
    sleeps.push_back(monitor.GuardedPass(0));
  EXPECT_EQ(sleeps, (std::vector<int>{MonitorThread::kSleepBeforeFirstGoodPassMs, 100, 100, 100,
                                      250, 250}));
  // One report per run of failures: the first, the one after the good pass, the last.
  EXPECT_EQ(reports, (std::vector<std::wstring>(3, L"scripted: drive gone")));
}

TEST(MonitorThreads, AThreadTheSystemCannotGiveIsNotAliveAndIsReported) {
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  MonitorThreads threads(stop, environment, [](std::function<void()>) -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  std::vector<std::wstring> reports;
  threads.OnPassFailed(
      [&](const std::wstring& name, const std::wstring& what) { reports.push_back(name + what); });
  EXPECT_FALSE(threads.StartTask(L"echo", [] {}));
  threads.StartMonitor(std::make_unique<CountingMonitor>(stop, clock, environment));
  EXPECT_EQ(reports, std::vector<std::wstring>{L"countingno thread"});
  EXPECT_FALSE(threads.AnyAlive());
  int sleeps = 0;
  EXPECT_EQ(threads.StopAll([&](int) { ++sleeps; }), 0);
  EXPECT_EQ(sleeps, 0);
}

TEST(MonitorThreads, HelpersAreCappedAndEndedOnesAreLetGoOutsideTheLock) {
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeEnvironment environment;
  MonitorThreads threads(stop, environment);
  std::atomic<bool> release{false};
  std::atomic<size_t> started{0};
  for (size_t helper = 0; helper < MonitorThreads::kMaxTasks; ++helper) {
    ASSERT_TRUE(threads.StartTask(L"echo", [&] {
      started.fetch_add(1);
      while (!release.load())
        std::this_thread::yield();
    }));
  }
  EXPECT_FALSE(threads.StartTask(L"one too many", [] {}));
  release = true;
  while (threads.IsAlive(L"echo"))
    std::this_thread::yield();

  // A helper's work is let go when the next helper starts; it may use the registry meanwhile
  // (here: from another thread, as a joined thread's last words would).
  struct AsksTheRegistry {
    MonitorThreads* Threads;
    bool* Answered;
    ~AsksTheRegistry() {
      if (!Threads)
        return;
      auto answer = std::make_shared<std::promise<size_t>>();
      std::future<size_t> count = answer->get_future();
      std::thread asking([answer, threads = Threads] { answer->set_value(threads->Count()); });
      *Answered = count.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
      // Left to finish on its own when the registry stays locked.
      *Answered ? asking.join() : asking.detach();
    }
  };
  bool answered = false;
  auto asker = std::make_shared<AsksTheRegistry>(AsksTheRegistry{&threads, &answered});
  ASSERT_TRUE(threads.StartTask(L"lookup", [asker] {}));
  asker.reset();
  while (threads.IsAlive(L"lookup"))
    std::this_thread::yield();
  ASSERT_TRUE(threads.StartTask(L"next", [] {}));
  EXPECT_TRUE(answered);
  threads.StopAll([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
}

TEST(StopSignal, TheStandardSleeperKeepsTheContract) {
  StandardSleeper sleeper;
  ExpectSleeperContract(sleeper);
}

TEST(StopSignal, WakesASleeperAtOnce) {
  Settings settings;
  StopSignal stop(settings);
  std::thread raiser([&] { stop.Raise(); });
  EXPECT_TRUE(stop.WaitFor(60'000));
  raiser.join();
  EXPECT_EQ(settings.Get(opt::StopFlag), 1);
}

}  // namespace
}  // namespace tarvik
