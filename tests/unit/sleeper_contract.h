#pragma once

#include <gtest/gtest.h>

#include <thread>

#include "platform/sleeper.h"

namespace tarvik {

// What every sleeper does: a condition already true returns at once, a change made through the
// sleeper by another thread wakes it, and a condition that stays false gives up in time.
inline void ExpectSleeperContract(platform::Sleeper& sleeper) {
  EXPECT_TRUE(sleeper.SleepFor(60'000, [] { return true; }));
  EXPECT_FALSE(sleeper.SleepFor(20, [] { return false; }));
  bool raised = false;  // read and written under the sleeper's lock only
  std::thread raiser([&] { sleeper.Change([&] { raised = true; }); });
  EXPECT_TRUE(sleeper.SleepFor(60'000, [&] { return raised; }));
  raiser.join();
}

}  // namespace tarvik
