#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/sleeper.h"

namespace tarvik {

// The sleeper of the standard library: a mutex and a condition variable.
class StandardSleeper : public platform::Sleeper {
 public:
  bool SleepFor(int milliseconds, const std::function<bool()>& until) override;
  void Change(const std::function<void()>& change) override;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace tarvik
