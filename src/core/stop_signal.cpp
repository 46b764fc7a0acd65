#include "core/stop_signal.h"

namespace tarvik {

void StopSignal::Raise() {
  sleeper_->Change([this] {
    if (settings_.Get(opt::StopFlag) < 1)
      settings_.Set(opt::StopFlag, 1);
  });
}

void StopSignal::CountWait() {
  sleeper_->Change([this] { settings_.Set(opt::StopFlag, settings_.Get(opt::StopFlag) + 1); });
}

bool StopSignal::WaitFor(int milliseconds) {
  return sleeper_->SleepFor(milliseconds, [this] { return Raised(); });
}

}  // namespace tarvik
