#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "text/date_format.h"

namespace tarvik {

inline constexpr size_t kLogBufferLines = 100;
inline constexpr size_t kExtendedLogBufferLines = 9'999;

// Starts `work` on a short-lived thread of its own; false when no thread could be started.
using LogWriterStarter = std::function<bool(std::function<void()> work)>;

// The monthly log files "TKyyyymm.log" in the log folder. Records are stamped and kept in a
// buffer, and appended to the file in batches so that the disk is touched rarely: when the buffer
// is full, with the first record of a new hour, and at shut-down. Any thread may call any member.
//
// No caller waits for the file: a batch that falls due is only marked under the book's lock, and
// one writer thread at a time takes the marked lines, appends them outside that lock and comes
// back for more until nothing is due. A log folder on a network share that went away therefore
// stops neither the monitors nor the window, however long the share takes to answer.
//
// A folder that cannot be written (removed, full, write-protected) loses nothing silently: the
// lines stay in the buffer and go to their month's file once the folder can be written again. A
// waiting batch is tried again at the next record, but at most once a minute, so that a dead
// stick is not hammered. Only when more lines arrive than the buffer holds are the oldest
// dropped; the status text counts them and says that the lines are not written.
class LogBook {
 public:
  // Receives a text that changed. It runs under the book's lock, on the thread that changed it,
  // so the texts arrive in order: it may only hand the text on (to the window-update queue, to
  // the paths) and must never call the book.
  using TextChanged = std::function<void(const std::wstring&)>;

  // `showStatus` receives the status text ("37 / 100") whenever it changes; `startWriter` starts
  // the thread that appends a due batch. When it refuses, the lines stay in the buffer and the
  // next record tries again.
  LogBook(platform::FileSystem& files, const platform::Clock& clock, const Settings& settings,
          const TextSlots& texts, TextChanged showStatus, LogWriterStarter startWriter);
  LogBook(const LogBook&) = delete;
  LogBook& operator=(const LogBook&) = delete;

  // Receives the current file name whenever it changes: at start-up and with the first batch of a
  // new month. Set it before any thread logs.
  void OnFileNameChanged(TextChanged changed);

  // Sizes the buffer, names the current file and shows the status; writes nothing while no line
  // is pending.
  void StartUp();
  // Adds one record while logging is on; `text` holds its fields, the stamp goes in front. One
  // record is one line, whatever its text holds: a line break or other control character in it
  // is written as a blank.
  void LogLine(std::wstring_view text);
  // Writes what is pending on the calling thread (the threads have stopped by now) and, when
  // anything was pending and logging is on, the closing record with the uptime text (as shown,
  // trimmed) and, when Windows ended the session, its mark.
  void FlushAtShutDown(std::wstring_view uptimeText, bool windowsShutdown);
  // Follows "Enable Extended Log File Buffering": the buffer grows keeping its lines, or shrinks
  // after writing them when they would not fit.
  void ApplyBufferSize();
  // Writes the pending lines now, as when logging is switched off.
  void WritePendingLines();

  [[nodiscard]] std::wstring FileName() const;
  [[nodiscard]] std::wstring Status() const;

 private:
  struct Line {
    DateValue Logged;
    std::wstring Text;
  };
  // The lines of one month that a writer appends in one go.
  struct Batch {
    std::wstring Path;
    DateValue Taken = 0;
    std::vector<std::wstring> Lines;
  };
  // The end of a line that a write stopped in the middle of, still to be added to its file.
  struct TornLine {
    std::wstring Path;
    std::string Rest;
  };

  [[nodiscard]] bool FlushDue(DateValue now) const;
  [[nodiscard]] bool MarkDue(DateValue now);
  void MarkDueAndStartWriter();
  void StartWriter();
  void WriteDueLines();
  [[nodiscard]] std::optional<Batch> TakeBatch();
  [[nodiscard]] size_t AppendBatch(const Batch& batch);
  [[nodiscard]] bool CompleteTornLine();
  void Settle(size_t linesDone, bool complete);
  void DropOldestFrom(size_t first, size_t count);
  [[nodiscard]] size_t ChosenCapacity() const;
  [[nodiscard]] size_t Buffered() const;
  void ShowStatus();

  platform::FileSystem& files_;
  const platform::Clock& clock_;
  const Settings& settings_;
  const TextSlots& texts_;
  TextChanged showStatus_;
  LogWriterStarter startWriter_;
  TextChanged fileNameChanged_;

  mutable std::mutex mutex_;
  std::deque<Line> pending_;
  size_t due_ = 0;       // the oldest lines, marked for the writer
  size_t inFlight_ = 0;  // the oldest of those, being appended now
  bool writerStarted_ = false;
  bool writerRefused_ = false;
  size_t capacity_ = kLogBufferLines;
  int64_t lastFlushHour_ = 0;
  int64_t lastAttemptMs_ = 0;
  bool writeFailed_ = false;
  int64_t dropped_ = 0;
  std::wstring fileName_;
  std::wstring status_;

  // One writer at a time touches the files; held for a whole run of batches.
  std::timed_mutex writerMutex_;
  TornLine torn_;  // under writerMutex_
};

}  // namespace tarvik
