#include "core/stop_signal.h"

#include <chrono>

namespace tarvik {

void StopSignal::Raise() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (settings_.Get(opt::StopFlag) < 1)
      settings_.Set(opt::StopFlag, 1);
  }
  wake_.notify_all();
}

void StopSignal::CountWait() {
  std::lock_guard<std::mutex> lock(mutex_);
  settings_.Set(opt::StopFlag, settings_.Get(opt::StopFlag) + 1);
}

bool StopSignal::WaitFor(int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return Raised(); });
}

}  // namespace tarvik
