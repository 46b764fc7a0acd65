#include "sysinfo/bounded_wmi.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace tarvik {
namespace {

using Rows = std::vector<std::vector<platform::WmiValue>>;

// Shared by the caller and the helper, so that a helper answering after the caller gave up
// writes into something that still exists.
struct Answer {
  std::mutex Lock;
  std::condition_variable Arrived;
  bool Done = false;
  bool GaveUp = false;  // the caller stopped waiting: the answer goes to the late taker
  std::optional<Rows> Result;
};

}  // namespace

std::optional<Rows> BoundedWmi::ProcessorProperties(const std::vector<std::wstring>& names) {
  const auto answer = std::make_shared<Answer>();
  platform::Wmi& wmi = wmi_;
  const bool started = startTask_([answer, &wmi, names, late = lateAnswer_] {
    std::optional<Rows> result = wmi.ProcessorProperties(names);
    bool gaveUp = false;
    {
      std::lock_guard<std::mutex> lock(answer->Lock);
      gaveUp = answer->GaveUp;
      if (!gaveUp)
        answer->Result = std::move(result);
      answer->Done = true;
    }
    answer->Arrived.notify_all();
    if (gaveUp && result && late)
      late(std::move(*result));
  });
  if (!started)
    return std::nullopt;
  std::unique_lock<std::mutex> lock(answer->Lock);
  if (!answer->Arrived.wait_for(lock, answerWait_, [&answer] { return answer->Done; })) {
    answer->GaveUp = true;
    return std::nullopt;
  }
  return std::move(answer->Result);
}

}  // namespace tarvik
