#include "core/monitor_threads.h"

#include <algorithm>

namespace tarvik {
namespace {

bool Alive(const std::unique_ptr<ProgramThread>& thread) {
  return thread->IsAlive();
}

bool Busy(const std::unique_ptr<ProgramThread>& thread) {
  return thread->IsBusy();
}

}  // namespace

void MonitorThreads::StartMonitor(std::unique_ptr<MonitorThread> monitor) {
  monitor->OnPassFailed(reportFailure_);
  monitor->OnPassTimed(reportTime_);
  const std::wstring name = monitor->Name();
  if (!Launch(std::move(monitor), false) && reportFailure_ && !stop_.Raised())
    reportFailure_(name, L"no thread");
}

bool MonitorThreads::StartTask(std::wstring name, std::function<void()> work) {
  return Launch(
      std::make_unique<TaskThread>(std::move(name), kTaskPriority, environment_, std::move(work)),
      true);
}

bool MonitorThreads::Launch(std::unique_ptr<ProgramThread> thread, bool task) {
  // Declared first, so the ended helpers are joined after the lock below is released.
  Threads ended;
  ProgramThread* reserved = thread.get();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_.Raised())
      return false;
    ended = TakeEnded();
    if (task && RunningTasks() >= kMaxTasks)
      return false;
    reserved->Reserve();
    (task ? tasks_ : monitors_).push_back(std::move(thread));
  }
  // The record stays while it is busy starting, so it may be used here without the lock; one
  // that failed to start is let go with the next ended helpers.
  return reserved->Start(launch_);
}

MonitorThreads::Threads MonitorThreads::TakeEnded() {
  Threads ended;
  for (Threads* threads : {&tasks_, &monitors_}) {
    const auto firstEnded = std::stable_partition(threads->begin(), threads->end(), Busy);
    std::move(firstEnded, threads->end(), std::back_inserter(ended));
    threads->erase(firstEnded, threads->end());
  }
  return ended;
}

size_t MonitorThreads::RunningTasks() const {
  return static_cast<size_t>(std::count_if(tasks_.begin(), tasks_.end(), Busy));
}

size_t MonitorThreads::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return monitors_.size() + tasks_.size();
}

bool MonitorThreads::AnyRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(monitors_.begin(), monitors_.end(), Alive) ||
         std::any_of(tasks_.begin(), tasks_.end(), Alive);
}

bool MonitorThreads::AnyAlive() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(monitors_.begin(), monitors_.end(), Alive) ||
         std::any_of(tasks_.begin(), tasks_.end(), Alive) ||
         std::any_of(abandoned_.begin(), abandoned_.end(), Alive);
}

bool MonitorThreads::IsAlive(const std::wstring& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto named = [&](const auto& thread) { return thread->Name() == name && Alive(thread); };
  return std::any_of(monitors_.begin(), monitors_.end(), named) ||
         std::any_of(tasks_.begin(), tasks_.end(), named);
}

int MonitorThreads::StopAll(const std::function<void(int)>& sleep) {
  {
    // Under the lock, so that no helper starts between the raise and the wait.
    std::lock_guard<std::mutex> lock(mutex_);
    stop_.Raise();
  }
  while (AnyRunning() && stop_.WaitsCounted() < kMaxStopWaits) {
    sleep(kStopWaitMs);
    stop_.CountWait();
  }
  Threads ended;
  std::lock_guard<std::mutex> lock(mutex_);
  int abandoned = 0;
  for (Threads* threads : {&monitors_, &tasks_}) {
    for (auto& thread : *threads) {
      if (Alive(thread)) {
        thread->Abandon();
        abandoned_.push_back(std::move(thread));
        ++abandoned;
      } else if (thread->IsBusy()) {
        // Its body ran out while its Start() still returns: kept, and left to finish starting.
        abandoned_.push_back(std::move(thread));
      } else {
        ended.push_back(std::move(thread));
      }
    }
    threads->clear();
  }
  return abandoned;
}

}  // namespace tarvik
