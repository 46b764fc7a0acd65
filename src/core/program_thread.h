#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "platform/environment.h"

namespace tarvik {

// A thread of the program that shut-down waits for: the long-lived monitors and the short-lived
// helpers (host lookups, ping workers, clipboard copies) alike.
class ProgramThread {
 public:
  ProgramThread(std::wstring name, int priority, platform::Environment& environment);
  virtual ~ProgramThread();
  ProgramThread(const ProgramThread&) = delete;
  ProgramThread& operator=(const ProgramThread&) = delete;

  void Start();
  [[nodiscard]] bool IsAlive() const { return alive_.load(std::memory_order_acquire); }
  [[nodiscard]] const std::wstring& Name() const { return name_; }
  [[nodiscard]] int Priority() const { return priority_; }
  // Lets a thread that did not stop in time run on unowned; the process ends it when it exits.
  void Abandon();

 protected:
  // The thread's work; it runs once, on the thread, and nothing it throws leaves the thread.
  virtual void Run() = 0;

 private:
  void Body() noexcept;

  std::wstring name_;
  int priority_;
  platform::Environment& environment_;
  std::atomic<bool> alive_{false};
  std::thread thread_;
};

}  // namespace tarvik
