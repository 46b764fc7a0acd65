#include "fakes/fake_ping.h"

#include <algorithm>

namespace tarvik::fakes {

FakeIcmpEchoes::~FakeIcmpEchoes() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  timerWake_.notify_all();
  if (timer_.joinable())
    timer_.join();
}

void FakeIcmpEchoes::Answer(uint32_t address, platform::EchoReply reply, int delayMs) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[address] = {reply, delayMs};
}

void FakeIcmpEchoes::RefuseBeyond(size_t inFlight) {
  std::lock_guard<std::mutex> lock(mutex_);
  mostInFlight_ = inFlight;
}

void FakeIcmpEchoes::SlowSends(int milliseconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  sendMs_ = milliseconds;
}

void FakeIcmpEchoes::NoteThread() {
  if (!sender_)
    sender_ = std::this_thread::get_id();
  else if (*sender_ != std::this_thread::get_id())
    ++wrongThreadCalls_;
}

bool FakeIcmpEchoes::Send(uint32_t address, int timeoutMs, uint64_t tag) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (sendMs_ > 0) {
      lock.unlock();
      std::this_thread::sleep_for(std::chrono::milliseconds(sendMs_));
      lock.lock();
    }
    NoteThread();
    ++sends_;
    lastTimeoutMs_ = timeoutMs;
    if (mostInFlight_ && pending_.size() + completed_.size() >= *mostInFlight_)
      return false;
    const auto found = answers_.find(address);
    Pending echo{.Due = Clock::now(), .Tag = tag, .Reply = {}};
    if (found != answers_.end()) {
      echo.Reply = found->second.first;
      echo.Due += std::chrono::milliseconds(realTime_ ? found->second.second : 0);
    } else {
      echo.Due += std::chrono::milliseconds(realTime_ ? timeoutMs : 0);
    }
    if (!realTime_) {
      completed_.emplace_back(echo.Tag, echo.Reply);
      return true;
    }
    pending_.push_back(echo);
    if (!timer_.joinable())
      timer_ = std::thread([this] { RunTimer(); });
  }
  timerWake_.notify_all();
  return true;
}

// Moves each echo whose time has come to the completed ones and wakes a waiting Collect.
void FakeIcmpEchoes::RunTimer() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!ending_) {
    const auto now = Clock::now();
    const auto due = std::stable_partition(pending_.begin(), pending_.end(),
                                           [now](const Pending& echo) { return echo.Due > now; });
    for (auto echo = due; echo != pending_.end(); ++echo)
      completed_.emplace_back(echo->Tag, echo->Reply);
    const bool any = due != pending_.end();
    pending_.erase(due, pending_.end());
    if (any)
      ready_.notify_all();
    if (pending_.empty()) {
      timerWake_.wait(lock);
    } else {
      // A copy: the list may grow while the timer waits.
      const Clock::time_point next =
          std::min_element(pending_.begin(), pending_.end(),
                           [](const Pending& a, const Pending& b) { return a.Due < b.Due; })
              ->Due;
      timerWake_.wait_until(lock, next);
    }
  }
}

void FakeIcmpEchoes::Collect(int waitMs, const Completed& completed) {
  std::vector<std::pair<uint64_t, platform::EchoReply>> done;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    NoteThread();
    ready_.wait_for(lock, std::chrono::milliseconds(std::max(waitMs, 0)),
                    [this] { return !completed_.empty(); });
    done = std::exchange(completed_, {});
  }
  for (const auto& [tag, reply] : done)
    completed(tag, reply);
}

int FakeIcmpEchoes::Sends() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sends_;
}

int FakeIcmpEchoes::LastTimeoutMs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastTimeoutMs_;
}

size_t FakeIcmpEchoes::InFlight() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pending_.size() + completed_.size();
}

int FakeIcmpEchoes::WrongThreadCalls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return wrongThreadCalls_;
}

}  // namespace tarvik::fakes
