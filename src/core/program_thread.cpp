#include "core/program_thread.h"

namespace tarvik {

std::thread LaunchThread(std::function<void()> body) {
  return std::thread(std::move(body));
}

ProgramThread::ProgramThread(std::wstring name, int priority, platform::Environment& environment)
    : name_(std::move(name)), priority_(priority), environment_(environment) {}

ProgramThread::~ProgramThread() {
  if (thread_.joinable())
    thread_.join();
}

void ProgramThread::Reserve() {
  starting_.store(true, std::memory_order_release);
  alive_.store(true, std::memory_order_release);
}

bool ProgramThread::Start(const ThreadLauncher& launch) {
  Reserve();
  bool started = true;
  try {
    thread_ = launch([this] { Body(); });
  } catch (...) {
    // No thread to run on: it never ran, so it is not alive and nobody waits for it.
    alive_.store(false, std::memory_order_release);
    started = false;
  }
  starting_.store(false, std::memory_order_release);
  return started;
}

void ProgramThread::Abandon() {
  if (thread_.joinable())
    thread_.detach();
}

void ProgramThread::Body() noexcept {
  try {
    environment_.NameCurrentThread(name_);
    environment_.SetCurrentThreadPriority(priority_);
    Run();
  } catch (...) {
    // A helper that fails ends alone; the program and the other threads go on. Monitors catch
    // what a pass throws themselves and go on with the next pass.
  }
  alive_.store(false, std::memory_order_release);
}

}  // namespace tarvik
