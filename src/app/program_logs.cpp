#include "app/program_logs.h"

#include <chrono>

#include "logs/run_event.h"
#include "logs/saga_file.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

// A save takes moments on the data folder. A lock held for longer belongs to a thread abandoned
// inside a save: the save then gives up rather than keep the program from ending.
constexpr auto kSaveWait = std::chrono::seconds(5);

EventListHeaders Headers() {
  // The drive events list has no header: it is found by its identifier.
  return {Tr(L"System Events"), Tr(L"Network Events"), L""};
}

}  // namespace

ProgramLogs::ProgramLogs(ProgramLogPorts ports, EventListModels lists)
    : ports_(ports),
      log_(
          ports.Files, ports.Clock, ports.Options, ports.Texts,
          [updates = &ports.Updates](const std::wstring& status) {
            updates->SetGadgetText(gadget::LogStatusField, status);
          },
          ports.StartLogWriter),
      events_(
          std::make_unique<EventLists>(lists, ports.Options, ports.Clock,
                                       [this](const std::wstring& text) { log_.LogLine(text); })) {
  log_.OnFileNameChanged([paths = &ports.SharedPaths](const std::wstring& name) {
    auto shared = paths->Lock();
    shared->LogFileName = name;
    shared->Files[kLogFileEntry].Name = name;
  });
}

void ProgramLogs::StartLog() {
  log_.StartUp();
}

void ProgramLogs::RestoreEventsAndNoteStart() {
  static_cast<void>(RestoreEvents(*events_, ports_.Files, SagaPath(), Headers()));
  const std::wstring started = RunEventText(RunEvent::Started);
  events_->AddSystemEvent(started);
  events_->AddNetworkEvent(started);
}

void ProgramLogs::NoteStop() {
  const std::wstring stopped = RunEventText(RunEvent::Stopped);
  events_->AddSystemEvent(stopped);
  events_->AddNetworkEvent(stopped);
}

void ProgramLogs::EndRun(const std::wstring& uptimeText, bool windowsShutdown) {
  static_cast<void>(SaveEvents());
  log_.FlushAtShutDown(uptimeText, windowsShutdown);
}

bool ProgramLogs::SaveEvents() {
  std::unique_lock<std::timed_mutex> lock(saveMutex_, kSaveWait);
  return lock.owns_lock() && tarvik::SaveEvents(*events_, ports_.Files, SagaPath(), Headers());
}

std::wstring ProgramLogs::SagaPath() const {
  return ports_.SharedPaths.Lock()->SagaStatePath;
}

}  // namespace tarvik
