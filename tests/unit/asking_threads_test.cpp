#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "monitors/storage/asking_threads.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;

// Runs a work on the asking threads and gives the future of its end.
std::future<void> Ask(
    AskingThreads& askers, std::function<void()> work = [] {}) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> ended = done->get_future();
  EXPECT_TRUE(askers.Run([done, work = std::move(work)] {
    work();
    done->set_value();
  }));
  return ended;
}

// Calls one after another share a thread or two; a call that hangs keeps its
// thread while the next calls go on without it; stop ends every thread that waits, and the hung
// one once its call comes back; after stop nothing runs.
TEST(AskingThreads, ShareThreadsLetAHungCallKeepItsOwnAndEndAtStop) {
  Settings settings;
  StopSignal stop(settings);
  std::vector<std::thread> threads;
  AskingThreads askers(
      [&threads](std::function<void()> work) {
        threads.emplace_back(std::move(work));
        return true;
      },
      stop);
  for (int call = 0; call < 200; ++call)
    Ask(askers).wait();
  EXPECT_LE(threads.size(), 4u);  // a loaded machine may keep a thread from coming back in time

  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::future<void> hung = Ask(askers, [released] { released.wait(); });
  for (int call = 0; call < 20; ++call)
    ASSERT_EQ(Ask(askers).wait_for(10s), std::future_status::ready) << call;
  EXPECT_EQ(hung.wait_for(0s), std::future_status::timeout);

  stop.Raise();
  release.set_value();
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_FALSE(askers.Run([] { ADD_FAILURE() << "ran after stop"; }));
}

}  // namespace
}  // namespace tarvik
