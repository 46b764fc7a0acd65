#include "core/standard_sleeper.h"

#include <chrono>

namespace tarvik {

bool StandardSleeper::SleepFor(int milliseconds, const std::function<bool()>& until) {
  std::unique_lock<std::mutex> lock(mutex_);
  return wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), until);
}

void StandardSleeper::Change(const std::function<void()>& change) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    change();
  }
  wake_.notify_all();
}

}  // namespace tarvik
