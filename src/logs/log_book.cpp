#include "logs/log_book.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "core/version.h"
#include "text/translation.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr int64_t kRetryIntervalMs = 60'000;
constexpr int64_t kSecondsPerHour = 3'600;

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
                        L": " + std::wstring(uptimeText);
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
                 const Settings& settings, const TextSlots& texts, TextChanged showStatus)
    : files_(files),
      clock_(clock),
      settings_(settings),
      texts_(texts),
      showStatus_(std::move(showStatus)) {}

void LogBook::OnFileNameChanged(TextChanged changed) {
  std::lock_guard<std::mutex> lock(mutex_);
  fileNameChanged_ = std::move(changed);
}

void LogBook::StartUp() {
  std::lock_guard<std::mutex> lock(mutex_);
  Flush(clock_.NowLocal());
}

void LogBook::LogLine(std::wstring_view text) {
  if (!settings_.IsOn(opt::LogEnabled))
    return;
  std::lock_guard<std::mutex> lock(mutex_);
  const DateValue now = clock_.NowLocal();
  if (FlushDue(now))
    Flush(now);
  if (pending_.size() >= capacity_)
    DropOldest(pending_.size() + 1 - capacity_);
  pending_.push_back({now, Stamp(now) + std::wstring(text)});
  ShowStatus();
}

void LogBook::FlushAtShutDown(std::wstring_view uptimeText, bool windowsShutdown) {
  std::lock_guard<std::mutex> lock(mutex_);
  const DateValue now = clock_.NowLocal();
  if (!pending_.empty())
    pending_.push_back({now, ClosingRecord(now, uptimeText, windowsShutdown)});
  Flush(now);
}

void LogBook::ApplyBufferSize() {
  std::lock_guard<std::mutex> lock(mutex_);
  // Lines that would fill the smaller buffer are written first.
  if (pending_.size() >= ChosenCapacity()) {
    Flush(clock_.NowLocal());
    return;
  }
  Resize(ChosenCapacity());
  ShowStatus();
}

void LogBook::WritePendingLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  Flush(clock_.NowLocal());
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
// the day, so that a record a day later at the same hour still starts a batch).
bool LogBook::FlushDue(DateValue now) const {
  if (writeFailed_)
    return clock_.TickMs() - lastAttemptMs_ >= kRetryIntervalMs;
  return pending_.size() >= capacity_ || now / kSecondsPerHour != lastFlushHour_;
}

void LogBook::Flush(DateValue now) {
  lastFlushHour_ = now / kSecondsPerHour;
  if (!pending_.empty())
    WritePending(now);
  Resize(ChosenCapacity());
  if (std::wstring name = FileNameFor(now); name != fileName_) {
    fileName_ = std::move(name);
    if (fileNameChanged_)
      fileNameChanged_(fileName_);
  }
  ShowStatus();
}

// The lines of each month go to that month's file in one append. When one cannot be written its
// lines and all later ones wait, so each file keeps its lines in order and none is written twice.
void LogBook::WritePending(DateValue now) {
  lastAttemptMs_ = clock_.TickMs();
  const std::wstring folder = texts_.Get(slot::LogFolder);
  while (!pending_.empty()) {
    const int month = MonthOf(pending_.front().Logged);
    size_t lines = 1;
    while (lines < pending_.size() && MonthOf(pending_[lines].Logged) == month)
      ++lines;
    if (!AppendMonth(folder + FileNameFor(pending_.front().Logged), lines, now)) {
      writeFailed_ = true;
      return;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(lines));
  }
  writeFailed_ = false;
}

// The first lines of a new or empty file say who made it and what its records hold.
bool LogBook::AppendMonth(const std::wstring& path, size_t lines, DateValue now) {
  const std::optional<int64_t> size = files_.FileSize(path);
  std::wstring text = size.value_or(0) == 0 ? HeaderLines(now) : std::wstring();
  for (size_t line = 0; line < lines; ++line)
    text += pending_[line].Text + L"\r\n";
  return files_.AppendFile(path, ToUtf8(text));
}

void LogBook::Resize(size_t capacity) {
  capacity_ = capacity;
  if (pending_.size() > capacity_)
    DropOldest(pending_.size() - capacity_);
}

void LogBook::DropOldest(size_t count) {
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  dropped_ += static_cast<int64_t>(count);
}

size_t LogBook::ChosenCapacity() const {
  return settings_.IsOn(opt::ExtendedLogBuffering) ? kExtendedLogBufferLines : kLogBufferLines;
}

void LogBook::ShowStatus() {
  status_ = StatusText(pending_.size(), capacity_, dropped_, writeFailed_);
  if (showStatus_)
    showStatus_(status_);
}

}  // namespace tarvik
