#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "core/guarded.h"
#include "core/list_model.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "core/window_updates.h"
#include "logs/event_lists.h"
#include "logs/log_book.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace tarvik {

struct ProgramLogPorts {
  platform::FileSystem& Files;
  const platform::Clock& Clock;
  Settings& Options;
  TextSlots& Texts;
  Guarded<Paths>& SharedPaths;
  WindowUpdateQueue& Updates;
  // Starts the short-lived thread that appends the log's batches.
  LogWriterStarter StartLogWriter;
};

// The program's records of what happened: the monthly log file and the three event lists that
// outlive a run through TK-Saga.json. Start-up and shut-down call it in their order; monitors
// add their events through it from any thread.
class ProgramLogs {
 public:
  ProgramLogs(ProgramLogPorts ports, EventListModels lists);
  ProgramLogs(const ProgramLogs&) = delete;
  ProgramLogs& operator=(const ProgramLogs&) = delete;

  // Sizes the log's buffer and names this month's file; the log folder is known by then.
  void StartLog();
  // Puts the last run's events back into the lists, then notes the start in both event lists.
  void RestoreEventsAndNoteStart();
  // Notes the end of the run in both event lists.
  void NoteStop();
  // The end of the run: saves TK-Saga.json, then writes the log's last lines and its closing
  // record with the uptime as the mini window shows it. The events go first, so that a log
  // folder that does not answer cannot cost them.
  void EndRun(const std::wstring& uptimeText, bool windowsShutdown);
  // Writes TK-Saga.json; true when a file was written. Any thread may save: one save runs at a
  // time, as two interleaved saves could lose both the file and its backup.
  bool SaveEvents();

  [[nodiscard]] EventLists& Events() { return *events_; }
  [[nodiscard]] LogBook& Log() { return log_; }

 private:
  [[nodiscard]] std::wstring SagaPath() const;

  ProgramLogPorts ports_;
  LogBook log_;
  std::unique_ptr<EventLists> events_;
  // Held for a whole save and its hour bookkeeping.
  std::timed_mutex saveMutex_;
};

}  // namespace tarvik
