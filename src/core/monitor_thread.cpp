#include "core/monitor_thread.h"

#include <chrono>
#include <exception>

namespace tarvik {
namespace {

// What a failure says is for the status line: plain characters are kept, others become '?'.
std::wstring Widened(const char* text) {
  std::wstring wide;
  for (const char* at = text; at && *at; ++at)
    wide += (static_cast<unsigned char>(*at) < 0x80) ? static_cast<wchar_t>(*at) : L'?';
  return wide;
}

}  // namespace

MonitorThread::MonitorThread(std::wstring name, int priority, StopSignal& stop,
                             const platform::Clock& clock, platform::Environment& environment)
    : ProgramThread(std::move(name), priority, environment), stop_(stop), clock_(clock) {}

void MonitorThread::Run() {
  while (!stop_.Raised()) {
    if (Rest(GuardedPass(clock_.TickMs())))
      break;
  }
}

// A pass's length is read from the standard steady clock: the program's clock counts whole
// milliseconds, and most passes take less.
int MonitorThread::GuardedPass(int64_t tickMs) {
  const auto started = std::chrono::steady_clock::now();
  try {
    lastSleepMs_ = Pass(tickMs);
    failing_ = false;
  } catch (const std::exception& failure) {
    ReportFailure(Widened(failure.what()));
  } catch (...) {
    ReportFailure(L"?");
  }
  if (reportTime_) {
    const auto length = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    reportTime_(Name(), tickMs, length.count());
  }
  return lastSleepMs_;
}

void MonitorThread::ReportFailure(const std::wstring& what) {
  if (failing_)
    return;
  failing_ = true;
  if (reportFailure_)
    reportFailure_(Name(), what);
}

TaskThread::TaskThread(std::wstring name, int priority, platform::Environment& environment,
                       std::function<void()> work)
    : ProgramThread(std::move(name), priority, environment), work_(std::move(work)) {}

void TaskThread::Run() {
  work_();
}

}  // namespace tarvik
