#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/wmi.h"

namespace tarvik {

// Runs a piece of work on a short-lived thread; false when no thread could start.
using WmiTaskStarter = std::function<bool(std::function<void()> work)>;

// Takes an answer that came after the caller stopped waiting; runs on the helper's thread.
using LateWmiAnswer = std::function<void(std::vector<std::vector<platform::WmiValue>> rows)>;

// WMI as start-up asks it: a wedged WMI service can keep a query waiting without end, so the
// query runs on a helper and the caller waits for its answer at most `answerWait`. A query that
// did not answer in time (or that found no thread) counts as failed; the helper hands its late
// answer, if it brings one, to `lateAnswer`. The wrapped `wmi` must outlive every helper (it
// lives as long as the process).
class BoundedWmi : public platform::Wmi {
 public:
  BoundedWmi(platform::Wmi& wmi, WmiTaskStarter startTask, std::chrono::milliseconds answerWait,
             LateWmiAnswer lateAnswer = {})
      : wmi_(wmi),
        startTask_(std::move(startTask)),
        answerWait_(answerWait),
        lateAnswer_(std::move(lateAnswer)) {}

  [[nodiscard]] std::optional<std::vector<std::vector<platform::WmiValue>>> ProcessorProperties(
      const std::vector<std::wstring>& names) override;

 private:
  platform::Wmi& wmi_;
  WmiTaskStarter startTask_;
  std::chrono::milliseconds answerWait_;
  LateWmiAnswer lateAnswer_;
};

}  // namespace tarvik
