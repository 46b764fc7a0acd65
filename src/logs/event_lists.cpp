#include "logs/event_lists.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

#include "text/date_format.h"

namespace tarvik {
namespace {

constexpr const wchar_t* kEventDatePattern = L"%mm-%dd  %hh:%ii:%ss - ";
constexpr const wchar_t* kSeparatorDatePattern = L"%yyyy-%mm-%dd %hh:%ii:%ss";
constexpr size_t kBlockNumberWidth = 4;

// Puts the lines at the top of the list, the first one topmost, after dropping the oldest lines
// so that the list holds no more than `limit` lines with the new ones. New lines always show,
// whatever the limit.
void InsertAtTop(std::vector<std::wstring>& rows, std::vector<std::wstring> lines, int limit) {
  const int room = std::max(limit - static_cast<int>(lines.size()), 0);
  if (rows.size() > static_cast<size_t>(room))
    rows.resize(static_cast<size_t>(room));
  rows.insert(rows.begin(), std::make_move_iterator(lines.begin()),
              std::make_move_iterator(lines.end()));
}

// "-- #0008 2024-03-09 14:05:07": numbers past 9999 keep all their digits.
std::wstring BlockSeparator(int number, DateValue now) {
  std::wstring digits = std::to_wstring(number);
  if (digits.size() < kBlockNumberWidth)
    digits.insert(0, kBlockNumberWidth - digits.size(), L'0');
  return L"-- #" + digits + L" " + FormatDate(kSeparatorDatePattern, now);
}

}  // namespace

EventLists::EventLists(EventListModels lists, const Settings& settings,
                       const platform::Clock& clock, EventLogger log)
    : lists_(lists), settings_(settings), clock_(clock), log_(std::move(log)) {}

void EventLists::AddSystemEvent(const std::wstring& text) {
  AddEvent(lists_.System, opt::LogSystemEvents, text);
}

void EventLists::AddNetworkEvent(const std::wstring& text) {
  AddEvent(lists_.Network, opt::LogNetworkEvents, text);
}

void EventLists::AddEvent(ListModel& list, int logSwitch, const std::wstring& text) {
  AddDatedLine(list, text);
  if (log_ && settings_.IsOn(opt::LogEnabled) && settings_.IsOn(logSwitch))
    log_(text);
}

void EventLists::AddDatedLine(ListModel& list, const std::wstring& text) const {
  std::wstring line = FormatDate(kEventDatePattern, clock_.NowLocal()) + text;
  const int limit = LineLimit();
  list.Change(
      [&](std::vector<std::wstring>& rows) { InsertAtTop(rows, {std::move(line)}, limit); });
}

void EventLists::AddDriveEventLine(const std::wstring& text) {
  const int limit = LineLimit();
  std::lock_guard<std::mutex> lock(driveMutex_);
  std::vector<std::wstring> lines{text};
  if (text.empty()) {
    // A counter read from the events file may stand at the top already; it stays there.
    if (driveBlockCount_ < std::numeric_limits<int>::max())
      ++driveBlockCount_;
    lines.push_back(BlockSeparator(driveBlockCount_, clock_.NowLocal()));
  }
  lists_.Drive.Change(
      [&](std::vector<std::wstring>& rows) { InsertAtTop(rows, std::move(lines), limit); });
}

bool EventLists::KeepsEventsAcrossRuns() const {
  return settings_.IsOn(opt::RestoreEvents);
}

std::array<SavedEventList, kEventListCount> EventLists::Saved() const {
  std::array<SavedEventList, kEventListCount> saved;
  for (const EventListId list : {EventListId::System, EventListId::Network}) {
    SavedEventList& entry = saved[static_cast<size_t>(list)];
    entry.Lines = Model(list).Rows();
    entry.Last = static_cast<int>(entry.Lines.size());
  }
  std::lock_guard<std::mutex> lock(driveMutex_);
  saved[static_cast<size_t>(EventListId::Drive)] = {lists_.Drive.Rows(), driveBlockCount_};
  return saved;
}

void EventLists::AppendRestored(EventListId list, const std::vector<std::wstring>& lines) {
  const auto limit = static_cast<size_t>(std::max(LineLimit(), 0));
  std::lock_guard<std::mutex> lock(driveMutex_);
  Model(list).Change([&](std::vector<std::wstring>& rows) {
    for (const std::wstring& line : lines) {
      if (rows.size() >= limit)
        break;
      rows.push_back(line);
    }
  });
}

void EventLists::SetDriveBlockCount(int count) {
  std::lock_guard<std::mutex> lock(driveMutex_);
  driveBlockCount_ = std::max(count, 0);
}

ListModel& EventLists::Model(EventListId list) const {
  switch (list) {
    case EventListId::System:
      return lists_.System;
    case EventListId::Network:
      return lists_.Network;
    case EventListId::Drive:
      break;
  }
  return lists_.Drive;
}

int EventLists::LineLimit() const {
  return settings_.Get(opt::EventLineLimit);
}

}  // namespace tarvik
