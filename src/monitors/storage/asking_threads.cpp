#include "monitors/storage/asking_threads.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace tarvik {

// Shared by the threads and the caller, so that a thread whose call comes back after everything
// else was torn down still finds it.
struct AskingThreads::Shared {
  std::mutex Lock;
  std::condition_variable Wake;   // a thread that waits: work or stop
  std::condition_variable Taken;  // the caller: its work was taken
  std::deque<std::function<void()>> Pending;
  uint64_t TakenCount = 0;  // works taken from Pending so far
  int Waiting = 0;          // threads waiting for work
  int Busy = 0;             // threads in a work: on their way back, or hung in it
  bool Stopping = false;

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(Lock);
      Stopping = true;
    }
    Wake.notify_all();
    Taken.notify_all();
  }

  // A thread's life: its first work, then each work handed to it, until stop or until enough
  // others wait.
  void Serve(std::function<void()> work) {
    for (;;) {
      work();
      std::unique_lock<std::mutex> lock(Lock);
      --Busy;
      if (Stopping || (Pending.empty() && Waiting >= kMostWaiting))
        return;
      ++Waiting;
      Wake.wait(lock, [this] { return Stopping || !Pending.empty(); });
      --Waiting;
      if (Stopping)
        return;
      work = std::move(Pending.front());
      Pending.pop_front();
      ++TakenCount;
      ++Busy;
      Taken.notify_all();
    }
  }

  // Offers `work` to a thread that is still in its last work, most likely on its way back; true
  // when one took it within the wait, else `work` is given back. Only one caller offers at a
  // time, so the work offered is the last pending one.
  bool HandOver(std::unique_lock<std::mutex>& lock, std::function<void()>& work) {
    Pending.push_back(std::move(work));
    const uint64_t mine = TakenCount + Pending.size();
    Wake.notify_one();
    Taken.wait_for(lock, kHandOverWait, [this, mine] { return Stopping || TakenCount >= mine; });
    if (TakenCount >= mine)
      return true;
    work = std::move(Pending.back());
    Pending.pop_back();
    return false;
  }
};

AskingThreads::AskingThreads(DriveTaskStarter startThread, StopSignal& stop)
    : startThread_(std::move(startThread)), shared_(std::make_shared<Shared>()) {
  stop.OnRaise([shared = shared_] { shared->Stop(); });
}

AskingThreads::~AskingThreads() {
  shared_->Stop();
}

// A thread that just answered the last call may not be waiting yet when the next call comes: the
// call waits a moment for it rather than start a thread at once. Only threads all hung in their
// works let the moment pass.
bool AskingThreads::Run(std::function<void()> work) {
  Shared& shared = *shared_;
  {
    std::unique_lock<std::mutex> lock(shared.Lock);
    if (shared.Stopping)
      return false;
    if (shared.Waiting > static_cast<int>(shared.Pending.size())) {
      shared.Pending.push_back(std::move(work));
      shared.Wake.notify_one();
      return true;
    }
    if (shared.Busy > 0 && shared.HandOver(lock, work))
      return true;
    if (shared.Stopping)
      return false;
    ++shared.Busy;
  }
  const bool started =
      startThread_ && startThread_([shared = shared_, work = std::move(work)]() mutable {
        shared->Serve(std::move(work));
      });
  if (!started) {
    std::lock_guard<std::mutex> lock(shared.Lock);
    --shared.Busy;
  }
  return started;
}

}  // namespace tarvik
