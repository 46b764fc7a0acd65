#include "core/program_thread.h"

namespace tarvik {

ProgramThread::ProgramThread(std::wstring name, int priority, platform::Environment& environment)
    : name_(std::move(name)), priority_(priority), environment_(environment) {}

ProgramThread::~ProgramThread() {
  if (thread_.joinable())
    thread_.join();
}

void ProgramThread::Start() {
  alive_.store(true, std::memory_order_release);
  thread_ = std::thread([this] { Body(); });
}

void ProgramThread::Abandon() {
  if (thread_.joinable())
    thread_.detach();
}

void ProgramThread::Body() noexcept {
  try {
    environment_.SetCurrentThreadPriority(priority_);
    Run();
  } catch (...) {
    // A thread that fails ends alone; the program and the other threads go on.
  }
  alive_.store(false, std::memory_order_release);
}

}  // namespace tarvik
