#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "core/stop_signal.h"
#include "monitors/storage/answering_drives.h"

namespace tarvik {

// Where the storage monitor's drive calls run: on threads that stay, rather than on a new thread
// for every call (a poll asks each drive twice, every 5 s). A call goes to a thread that waits
// for work, or to one on its way back from its last call; only when every thread is hung in a
// call (a drive that does not answer keeps its thread as long as it hangs) is a thread started,
// through `startThread`, with the call as its first work. After a call, a thread waits for the
// next one unless two others already wait. Waiting threads end when stop is raised or this is
// destroyed; a hung one when its call comes back. One caller at a time.
class AskingThreads {
 public:
  static constexpr int kMostWaiting = 2;
  // How long a call waits for a thread on its way back before it starts one.
  static constexpr std::chrono::milliseconds kHandOverWait{20};

  AskingThreads(DriveTaskStarter startThread, StopSignal& stop);
  ~AskingThreads();
  AskingThreads(const AskingThreads&) = delete;
  AskingThreads& operator=(const AskingThreads&) = delete;

  // Runs `work` on a waiting thread or a new one; false when stop was raised or no thread could
  // be started.
  [[nodiscard]] bool Run(std::function<void()> work);

 private:
  struct Shared;

  DriveTaskStarter startThread_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace tarvik
