#include "monitors/cost/high_cpu_watch.h"

namespace tarvik {

bool HighCpuWatch::Note(int64_t tickMs, const CpuSpan& recent, int processors) {
  if (told_)
    return false;
  if (!UsedMoreThan(recent, processors, kLimitPercent)) {
    aboveSince_.reset();
    return false;
  }
  if (!aboveSince_)
    aboveSince_ = tickMs;
  told_ = tickMs - *aboveSince_ >= kLastingMs;
  return told_;
}

}  // namespace tarvik
