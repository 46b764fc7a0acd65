#include "logs/log_book.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/version.h"
#include "text/translation.h"
#include "text/untrusted_text.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr int64_t kRetryIntervalMs = 60'000;
constexpr int64_t kSecondsPerHour = 3'600;
// How long the closing write waits for a writer that is still at work.
constexpr auto kShutDownWriterWait = std::chrono::seconds(1);

std::wstring FileNameFor(DateValue date) {
  return L"TK" + FormatDate(L"%yyyy%mm", date) + L".log";
}

int MonthOf(DateValue date) {
  const DateParts parts = PartsOfDate(date);
  return parts.Year * 12 + parts.Month;
}

// Every record starts with the day and the time it was logged; the file name holds the month.
std::wstring Stamp(DateValue date) {
  return FormatDate(L"%dd%hh%ii%ss ", date);
}

std::wstring HeaderLines(DateValue created) {
  return std::wstring(L"'File Created by ") + kProgramTitle + L" on " +
         FormatDate(L"%yyyy-%mm-%dd %hh:%ii:%ss", created) +
         L"\r\n"
         L"'Drive Key: ddhhmmss drive: free% bytesavail bytesused bytesdiff\r\n"
         L"'StMon Key: ddhhmmss drive+ volserial bytesavail bytestotal volname\r\n"
         L"'NeEvt Key: ddhhmmss n# text\r\n";
}

std::wstring ClosingRecord(DateValue date, std::wstring_view uptimeText, bool windowsShutdown) {
  std::wstring record = Stamp(date) + kProgramTitle + L" " + Tr(L"closed") + L". " + Tr(L"Uptime") +
                        L": " + OneLineText(uptimeText);
  if (windowsShutdown)
    record += L" [Windows " + Tr(L"Shutdown") + L"]";
  return record;
}

std::wstring StatusText(size_t pending, size_t capacity, int64_t dropped, bool notWritten) {
  std::wstring text = std::to_wstring(pending) + L" / " + std::to_wstring(capacity);
  if (dropped > 0)
    text += L", " + std::to_wstring(dropped) + L" " + Tr(L"dropped");
  if (notWritten)
    text += L", " + Tr(L"not written");
  return text;
}

}  // namespace

LogBook::LogBook(platform::FileSystem& files, const platform::Clock& clock,
                 const Settings& settings, const TextSlots& texts, TextChanged showStatus,
                 LogWriterStarter startWriter)
    : files_(files),
      clock_(clock),
      settings_(settings),
      texts_(texts),
      showStatus_(std::move(showStatus)),
      startWriter_(std::move(startWriter)) {}

void LogBook::OnFileNameChanged(TextChanged changed) {
  std::lock_guard<std::mutex> lock(mutex_);
  fileNameChanged_ = std::move(changed);
}

void LogBook::StartUp() {
  MarkDueAndStartWriter();
}

void LogBook::LogLine(std::wstring_view text) {
  if (!settings_.IsOn(opt::LogEnabled))
    return;
  bool startWriter = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const DateValue now = clock_.NowLocal();
    if (FlushDue(now))
      startWriter = MarkDue(now);
    if (Buffered() >= capacity_)
      DropOldestFrom(due_, Buffered() + 1 - capacity_);
    pending_.push_back({now, Stamp(now) + OneLineText(text)});
    ShowStatus();
  }
  if (startWriter)
    StartWriter();
}

// The threads have stopped by now, so this thread writes. A writer abandoned inside an append
// (a share that never answers) still holds the files: after a short wait its lines and these
// stay unwritten, so that shut-down goes on to save the state files instead of waiting for it.
void LogBook::FlushAtShutDown(std::wstring_view uptimeText, bool windowsShutdown) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const DateValue now = clock_.NowLocal();
    // Lines kept while logging was on still go out; a log switched off gets no closing record.
    if (!pending_.empty() && settings_.IsOn(opt::LogEnabled))
      pending_.push_back({now, ClosingRecord(now, uptimeText, windowsShutdown)});
    static_cast<void>(MarkDue(now));
  }
  std::unique_lock<std::timed_mutex> writer(writerMutex_, kShutDownWriterWait);
  if (writer.owns_lock())
    WriteDueLines();
}

void LogBook::ApplyBufferSize() {
  bool startWriter = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Lines that would fill the smaller buffer are written first.
    if (Buffered() >= ChosenCapacity()) {
      startWriter = MarkDue(clock_.NowLocal());
    } else {
      capacity_ = ChosenCapacity();
      ShowStatus();
    }
  }
  if (startWriter)
    StartWriter();
}

void LogBook::WritePendingLines() {
  MarkDueAndStartWriter();
}

std::wstring LogBook::FileName() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fileName_;
}

std::wstring LogBook::Status() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

// A batch that could not be written waits for its next try, whatever else happens; otherwise the
// buffer is written when it is full and with the first record of a new hour (of the date, not of
// the day, so that a record a day later at the same hour still starts a batch). Lines whose
// writer could not be started are tried again with the next record.
bool LogBook::FlushDue(DateValue now) const {
  if (writerRefused_)
    return true;
  if (writeFailed_)
    return clock_.TickMs() - lastAttemptMs_ >= kRetryIntervalMs;
  return Buffered() >= capacity_ || now / kSecondsPerHour != lastFlushHour_;
}

// Hands every buffered line to the writer, re-creates the buffer and follows the month's file
// name. True when a writer is to be started: there are lines and none is at work yet.
//
// While a writer is inside an append (a slow share), at most a buffer's worth of lines waits
// behind it; the oldest of any more are dropped, so that a writer that never comes back does not
// let the lines grow without limit.
bool LogBook::MarkDue(DateValue now) {
  lastFlushHour_ = now / kSecondsPerHour;
  writerRefused_ = false;
  due_ = pending_.size();
  if (inFlight_ > 0 && due_ - inFlight_ > capacity_)
    DropOldestFrom(inFlight_, due_ - inFlight_ - capacity_);
  capacity_ = ChosenCapacity();
  if (std::wstring name = FileNameFor(now); name != fileName_) {
    fileName_ = std::move(name);
    if (fileNameChanged_)
      fileNameChanged_(fileName_);
  }
  ShowStatus();
  if (due_ == 0 || writerStarted_)
    return false;
  writerStarted_ = true;
  return true;
}

void LogBook::MarkDueAndStartWriter() {
  bool startWriter = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    startWriter = MarkDue(clock_.NowLocal());
  }
  if (startWriter)
    StartWriter();
}

// Called without the book's lock: a starter may run the writer before it returns. When no thread
// can be had the lines go back to the buffer, which keeps its newest lines as when the folder
// cannot be written.
void LogBook::StartWriter() {
  const auto write = [this] {
    std::lock_guard<std::timed_mutex> writer(writerMutex_);
    WriteDueLines();
  };
  if (startWriter_ && startWriter_(write))
    return;
  std::lock_guard<std::mutex> lock(mutex_);
  writerStarted_ = false;
  writerRefused_ = true;
  due_ = 0;
  if (pending_.size() > capacity_)
    DropOldestFrom(0, pending_.size() - capacity_);
  ShowStatus();
}

// The writer, holding writerMutex_: takes the due lines month by month and appends each month's
// lines to its file outside the book's lock, until nothing is due or a write fails.
void LogBook::WriteDueLines() {
  while (const std::optional<Batch> batch = TakeBatch()) {
    const size_t linesDone = AppendBatch(*batch);
    Settle(linesDone, linesDone == batch->Lines.size() && torn_.Rest.empty());
  }
}

std::optional<LogBook::Batch> LogBook::TakeBatch() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (due_ == 0) {
    writerStarted_ = false;
    return std::nullopt;
  }
  const DateValue month = pending_.front().Logged;
  Batch batch{texts_.Get(slot::LogFolder) + FileNameFor(month), clock_.NowLocal(), {}};
  while (inFlight_ < due_ && MonthOf(pending_[inFlight_].Logged) == MonthOf(month))
    batch.Lines.push_back(pending_[inFlight_++].Text);
  return batch;
}

// The first lines of a new or empty file say who made it and what its records hold. Returns how
// many of the batch's lines are done.
//
// A write that stops part way (a full disk) leaves the file ending inside a line. A log file only
// ever grows, so the rest of that line is kept and added first at the next write: the file then
// reads as if the write had never stopped, with no line twice and none torn. The torn line counts
// as done, as its rest waits here rather than in the buffer.
size_t LogBook::AppendBatch(const Batch& batch) {
  if (!CompleteTornLine())
    return 0;
  const bool fresh = files_.FileSize(batch.Path).value_or(0) == 0;
  std::vector<std::string> pieces;
  if (fresh)
    pieces.push_back(ToUtf8(HeaderLines(batch.Taken)));
  for (const std::wstring& line : batch.Lines)
    pieces.push_back(ToUtf8(line + L"\r\n"));
  std::string bytes;
  for (const std::string& piece : pieces)
    bytes += piece;
  size_t written = files_.AppendFile(batch.Path, bytes);
  size_t piecesDone = 0;
  for (const std::string& piece : pieces) {
    if (written == 0)
      break;
    if (written < piece.size())
      torn_ = {batch.Path, piece.substr(written)};
    written -= std::min(written, piece.size());
    ++piecesDone;
  }
  return fresh && piecesDone > 0 ? piecesDone - 1 : piecesDone;
}

bool LogBook::CompleteTornLine() {
  if (torn_.Rest.empty())
    return true;
  torn_.Rest.erase(0, files_.AppendFile(torn_.Path, torn_.Rest));
  return torn_.Rest.empty();
}

// The lines done leave the buffer. After a failure the rest waits for the next try, and the
// buffer keeps its newest lines.
void LogBook::Settle(size_t linesDone, bool complete) {
  std::lock_guard<std::mutex> lock(mutex_);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(linesDone));
  due_ -= linesDone;
  inFlight_ = 0;
  writeFailed_ = !complete;
  if (!complete) {
    lastAttemptMs_ = clock_.TickMs();
    due_ = 0;
    if (pending_.size() > capacity_)
      DropOldestFrom(0, pending_.size() - capacity_);
  }
  ShowStatus();
}

void LogBook::DropOldestFrom(size_t first, size_t count) {
  const auto from = pending_.begin() + static_cast<std::ptrdiff_t>(first);
  pending_.erase(from, from + static_cast<std::ptrdiff_t>(count));
  if (first < due_)
    due_ -= std::min(count, due_ - first);
  dropped_ += static_cast<int64_t>(count);
}

size_t LogBook::ChosenCapacity() const {
  return settings_.IsOn(opt::ExtendedLogBuffering) ? kExtendedLogBufferLines : kLogBufferLines;
}

// The lines in the buffer; those handed to the writer have left it.
size_t LogBook::Buffered() const {
  return pending_.size() - due_;
}

void LogBook::ShowStatus() {
  status_ = StatusText(Buffered(), capacity_, dropped_, writeFailed_);
  if (showStatus_)
    showStatus_(status_);
}

}  // namespace tarvik
