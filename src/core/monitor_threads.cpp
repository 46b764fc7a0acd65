#include "core/monitor_threads.h"

#include <algorithm>

namespace tarvik {
namespace {

bool Alive(const std::unique_ptr<ProgramThread>& thread) {
  return thread->IsAlive();
}

}  // namespace

void MonitorThreads::StartMonitor(std::unique_ptr<MonitorThread> monitor) {
  Register(std::move(monitor));
}

bool MonitorThreads::StartTask(std::wstring name, std::function<void()> work) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stop_.Raised())
    return false;
  // Helpers come and go all day: the ended ones are let go here.
  std::erase_if(threads_, [](const auto& thread) { return !Alive(thread); });
  threads_.push_back(
      std::make_unique<TaskThread>(std::move(name), kTaskPriority, environment_, std::move(work)));
  threads_.back()->Start();
  return true;
}

void MonitorThreads::Register(std::unique_ptr<ProgramThread> thread) {
  std::lock_guard<std::mutex> lock(mutex_);
  thread->Start();
  threads_.push_back(std::move(thread));
}

size_t MonitorThreads::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return threads_.size();
}

bool MonitorThreads::AnyRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(threads_.begin(), threads_.end(), Alive);
}

bool MonitorThreads::AnyAlive() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(threads_.begin(), threads_.end(), Alive) ||
         std::any_of(abandoned_.begin(), abandoned_.end(), Alive);
}

bool MonitorThreads::IsAlive(const std::wstring& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(threads_.begin(), threads_.end(), [&](const auto& thread) {
    return thread->Name() == name && thread->IsAlive();
  });
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
  std::lock_guard<std::mutex> lock(mutex_);
  int abandoned = 0;
  for (auto& thread : threads_) {
    if (!thread->IsAlive())
      continue;
    thread->Abandon();
    abandoned_.push_back(std::move(thread));
    ++abandoned;
  }
  threads_.clear();
  return abandoned;
}

}  // namespace tarvik
