#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/list_model.h"
#include "core/settings.h"
#include "platform/clock.h"

namespace tarvik {

// The three event lists that outlive a run, in the order of their list numbers 129, 130, 131.
enum class EventListId : int { System = 0, Network = 1, Drive = 2 };
inline constexpr int kEventListCount = 3;

// Writes one line to the monthly log.
using EventLogger = std::function<void(const std::wstring& text)>;

struct EventListModels {
  ListModel& System;   // list 129
  ListModel& Network;  // list 130
  ListModel& Drive;    // list 131
};

// One event list as the events file keeps it: its lines top to bottom and its `Last` number (the
// drive list's block counter, or the number of lines).
struct SavedEventList {
  std::vector<std::wstring> Lines;
  int Last = 0;
};

// The event lists of the main window and the lines they take. Any thread may add lines; each
// list holds at most `EventLineLimit` lines, newest at the top, and drops its oldest lines to
// make room.
class EventLists {
 public:
  EventLists(EventListModels lists, const Settings& settings, const platform::Clock& clock,
             EventLogger log);
  EventLists(const EventLists&) = delete;
  EventLists& operator=(const EventLists&) = delete;

  // "%mm-%dd  %hh:%ii:%ss - " + text at the top of the list; the text also goes to the log
  // while logging and the list's own log switch are both on.
  void AddSystemEvent(const std::wstring& text);
  void AddNetworkEvent(const std::wstring& text);
  // The same dated line, never logged, for the lists of the detail panes (136 and 137).
  void AddDatedLine(ListModel& list, const std::wstring& text) const;
  // A line of the drive events list. An empty line closes a block of lines: it becomes the
  // block's numbered separator "-- #0001 2024-03-09 14:05:07" with an empty line above it.
  void AddDriveEventLine(const std::wstring& text);

  [[nodiscard]] bool KeepsEventsAcrossRuns() const;
  [[nodiscard]] std::array<SavedEventList, kEventListCount> Saved() const;
  // Lines from the events file go below the lines the list holds, as far as its limit allows.
  void AppendRestored(EventListId list, const std::vector<std::wstring>& lines);
  void SetDriveBlockCount(int count);

 private:
  void AddEvent(ListModel& list, int logSwitch, const std::wstring& text);
  [[nodiscard]] ListModel& Model(EventListId list) const;
  [[nodiscard]] int LineLimit() const;

  EventListModels lists_;
  const Settings& settings_;
  const platform::Clock& clock_;
  EventLogger log_;
  // Keeps the block counter and the drive list's lines in step for the events file.
  mutable std::mutex driveMutex_;
  int driveBlockCount_ = 0;
};

}  // namespace tarvik
