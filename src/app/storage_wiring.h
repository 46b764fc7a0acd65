#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/program_logs.h"
#include "app/window_update_applier.h"
#include "core/guarded.h"
#include "core/list_model.h"
#include "core/meter_table.h"
#include "core/monitor_threads.h"
#include "core/panel_copy.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "core/title_board.h"
#include "core/window_updates.h"
#include "monitors/storage/answering_drives.h"
#include "monitors/storage/asking_threads.h"
#include "monitors/storage/drive_filter.h"
#include "monitors/storage/drive_record.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/gui.h"
#include "ui/mini_window.h"

namespace tarvik {

struct StoragePorts {
  platform::Gui& Gui;
  platform::Drives& Drives;
  const platform::Clock& Clock;
  platform::Environment& Env;
  Settings& Options;
  TextSlots& Texts;
  MeterTable& Meters;
  TitleBoard& Titles;
  WindowUpdateQueue& Updates;
  ProgramLogs& Logs;
  ListModel& DriveChanges;  // the Storage tab's dated list of drive changes
  ListModel& DriveEvents;   // the drive events list, kept across runs
  MiniWindow& Mini;
};

// The storage monitor's place in the program: its targets, the Storage tab's drive filter and
// unit selectors, the Storage tab's copy, and its start with the other monitors.
class StorageWiring {
 public:
  explicit StorageWiring(StoragePorts ports) : ports_(ports) {}

  // The window thread's side: the filter selector refills itself whenever the drives changed,
  // choosing a drive follows it, choosing a unit shows the sizes in it at once.
  void Install(GadgetRoutes& routes, WindowUpdateApplier& applier);
  void Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy);
  // The drive table as the monitor last left it.
  [[nodiscard]] Guarded<DriveTable>& SharedReadings() { return readings_; }

 private:
  void FillDriveFilter();
  void FollowChosenDrive();
  // The drive-change list shows the changes of `drive` (0 every drive); `choice` is kept.
  void Follow(int drive, const FollowedDriveChoice& choice);
  [[nodiscard]] std::wstring StorageTabCopy();

  StoragePorts ports_;
  // Both outlive the monitor: their helpers may still be out when the monitor stops.
  std::unique_ptr<AskingThreads> askers_;
  std::unique_ptr<AnsweringDrives> answering_;
  Guarded<DriveTable> readings_;
  // The drive (1-26) behind each item of the filter selector, as last filled.
  std::vector<int> driveOfItem_;
};

}  // namespace tarvik
