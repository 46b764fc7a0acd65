#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/guarded.h"
#include "core/meter_table.h"
#include "core/monitor_thread.h"
#include "core/settings.h"
#include "core/title_board.h"
#include "monitors/storage/drive_record.h"
#include "monitors/storage/drive_scan.h"
#include "monitors/storage/free_space_trend.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/environment.h"

namespace tarvik {

struct StorageSources {
  platform::Drives& Drives;
  const platform::Clock& Clock;
  platform::Environment& Env;
};

// Where the storage monitor's results go; each callable runs on the monitor's thread.
struct StorageTargets {
  Settings& Options;
  // The drive cells of the mini window (meters 0-26): row text, colours and display order.
  MeterTable& Meters;
  // The drive table as the monitor last left it, for the window thread (filter selector, copy).
  Guarded<DriveTable>& Readings;
  TitleBoard& Titles;
  std::function<void(const std::wstring& line)> AddDriveEvent;   // the drive events list
  std::function<void(const std::wstring& line)> AddDriveChange;  // the dated drive-change list
  std::function<void(const std::wstring& record)> LogRecord;     // a record of the log file
  std::function<void(int image)> SetTrayImage;
  // The drive cells changed place or number: the mini window lays its cells out again.
  std::function<void()> RefreshLayout;
  std::function<void(int meter, bool force)> MeterChanged;
  // The drive selection or the drive set changed: the Storage tab's filter selector is rebuilt.
  std::function<void()> DrivesChanged;
  // Serves the copy request of the Storage tab.
  std::function<void(int panel)> CopyPanel;
};

// The storage monitor: every 100 ms a pass that shows the drive changes it found (the flash
// pass), the last change in the title summary, reads the set of drive letters every 20 s (at
// once on a device notice or F5, 4 s after a medium changed; a notice under letters that stay
// polls the drives at once) and scans the drives that can have changed (every drive on F5 and
// F6), asks drives that did not answer again every 4 s, polls the present drives every 5 s for
// their space, label and media, tells a drive that falls short of space, and shows the first
// disk's activity in the tray. Every call about a drive goes to the platform outside every
// shared lock; what the windows show is written under the meter table's lock and the readings'
// lock only.
class StorageMonitor : public MonitorThread {
 public:
  static constexpr const wchar_t* kName = L"storage monitor";
  static constexpr int kPassMs = 100;
  static constexpr int kDriveSetPasses = 200;
  static constexpr int kMediaChangePasses = 40;
  static constexpr int kPollPasses = 50;
  static constexpr int kTitlePasses = 60;
  static constexpr int kOtherTitlePasses = 600;

  StorageMonitor(StopSignal& stop, StorageSources sources, StorageTargets targets);

  int Pass(int64_t tickMs) override;

 private:
  void FlashPass();
  void UpdateTitle();
  bool CheckDriveSet(bool refresh);
  void AskUnansweredAgain();
  void Scan(const std::wstring& letters, ScanScope scope);
  void PollDrives();
  // One drive of the poll; false when the poll is to stop (a re-scan is due at once).
  bool PollDrive(int index);
  void ChangeMedium(DriveRecord& drive, const VolumeReading& reading, int index);
  void PollSpace(DriveRecord& drive, const VolumeReading& reading, int index);
  void TotalChanged(DriveRecord& drive, const platform::DriveSpace& space);
  void FollowLowSpace(DriveRecord& drive, int index);
  void CountDownHighlight(DriveRecord& drive, int index);
  void ShowActivity();
  void ResetDifferencesAndMarks();
  // Marks a drive changed: its highlight, the flash pass on the next pass, its row redrawn.
  void Highlight(DriveRecord& drive, int fadeLevel, int index);
  // Marks or unmarks a drive that did not answer in time; returns `answered`.
  bool ShowAnswering(DriveRecord& drive, int index, bool answered);
  // A change the poll found asks for a scan after `passes`, whether or not the letters differ.
  void RescanIn(int passes);
  void ForgetTrendsOfAbsentDrives();
  void RebuildRows();
  void ShowRow(int index);
  void Publish();
  [[nodiscard]] bool LogOn(int option) const;
  // The drive-set countdown lives in the settings, where another thread may clear it.
  [[nodiscard]] int DriveSetCountdown() const;
  void SetDriveSetCountdown(int passes);
  void CountDownDriveSet();

  StorageSources sources_;
  StorageTargets targets_;
  DriveScanPorts ports_;
  DriveTable table_;
  std::array<FreeSpaceTrend, kDriveRecords> trends_;
  int64_t tickMs_ = 0;
  bool scanned_ = false;
  bool rescanDue_ = false;
  int shownUnit_ = 0;  // the storage unit the rows were built in
  int pollCountdown_ = kPollPasses;
  int retryCountdown_ = 0;  // passes until drives that did not answer are asked again; 0 = none
  int titleCountdown_ = 0;
  bool summaryDirty_ = false;
  bool flash_ = false;
  std::wstring changedLetters_;
  std::wstring presentLetters_;
  bool diskOpen_ = false;
  platform::DiskActivity lastActivity_;
  int trayImage_ = 0;
};

}  // namespace tarvik
