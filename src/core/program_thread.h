#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/environment.h"

namespace tarvik {

// Creates the operating-system thread that runs a body. It throws (std::system_error) when the
// system has no thread to give: handles or memory ran out.
using ThreadLauncher = std::function<std::thread(std::function<void()> body)>;

// The plain launcher: a std::thread.
[[nodiscard]] std::thread LaunchThread(std::function<void()> body);

// A thread of the program that shut-down waits for: the long-lived monitors and the short-lived
// helpers (host lookups, clipboard copies) alike.
class ProgramThread {
 public:
  ProgramThread(std::wstring name, int priority, platform::Environment& environment);
  virtual ~ProgramThread();
  ProgramThread(const ProgramThread&) = delete;
  ProgramThread& operator=(const ProgramThread&) = delete;

  // Counts the thread as alive from now on, before it exists, so that a shut-down that looks
  // between this and Start() still waits for it.
  void Reserve();
  // Creates the thread; false when the system refused one, and the thread is then not alive.
  [[nodiscard]] bool Start(const ThreadLauncher& launch);
  [[nodiscard]] bool IsAlive() const { return alive_.load(std::memory_order_acquire); }
  // Alive, or still inside Start(): the record must not be destroyed yet.
  [[nodiscard]] bool IsBusy() const {
    return IsAlive() || starting_.load(std::memory_order_acquire);
  }
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
  std::atomic<bool> starting_{false};
  std::thread thread_;
};

}  // namespace tarvik
