#pragma once

#include <mutex>
#include <optional>

#include "platform/own_process.h"

namespace tarvik::fakes {

// The program's own cost as a test sets it; either reading may fail, as a denied query does.
// Set from the test's thread while a monitor's thread reads, so it keeps a lock.
class FakeOwnProcess : public platform::OwnProcess {
 public:
  void Set(std::optional<platform::OwnProcessorTime> time,
           std::optional<platform::OwnProcessFigures> figures) {
    std::lock_guard<std::mutex> lock(mutex_);
    time_ = time;
    figures_ = figures;
  }
  std::optional<platform::OwnProcessorTime> ProcessorTime() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return time_;
  }
  // The working set of the figures set, without counting a read of the figures.
  std::optional<uint64_t> WorkingSetBytes() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!figures_)
      return std::nullopt;
    return figures_->WorkingSetBytes;
  }
  std::optional<platform::OwnProcessFigures> Figures() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++figureReads_;
    return figures_;
  }
  int FigureReads() {
    std::lock_guard<std::mutex> lock(mutex_);
    return figureReads_;
  }

 private:
  std::mutex mutex_;
  std::optional<platform::OwnProcessorTime> time_;
  std::optional<platform::OwnProcessFigures> figures_;
  int figureReads_ = 0;
};

}  // namespace tarvik::fakes
