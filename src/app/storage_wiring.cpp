#include "app/storage_wiring.h"

#include "monitors/storage/drive_events.h"
#include "monitors/storage/drive_filter.h"
#include "monitors/storage/drive_rows.h"
#include "monitors/storage/storage_monitor.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/panel_copies.h"

namespace tarvik {
namespace {

// How long the storage monitor waits for a drive that may hang before it counts it as without a
// volume for now.
constexpr std::chrono::milliseconds kDriveAnswerWait{1'000};

// "C" of "C:\Windows"; 0 when the folder is not on a drive letter.
wchar_t SystemDriveLetter(const std::wstring& windowsFolder) {
  return windowsFolder.size() >= 2 && windowsFolder[1] == L':' ? windowsFolder[0] : L'\0';
}

}  // namespace

void StorageWiring::Install(GadgetRoutes& routes, WindowUpdateApplier& applier) {
  applier.OnRefresh(gadget::DriveFilterSelector, [this] { FillDriveFilter(); });
  routes.On(gadget::DriveFilterSelector, platform::GadgetAction::Change,
            [this](const platform::GuiEvent&) {
              FollowChosenDrive();
              return LoopControl::Continue;
            });
  // The unit is stored by the Settings tab's handler of its selector; the storage monitor builds
  // the rows again in it at its next pass.
}

void StorageWiring::Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy) {
  WindowUpdateQueue& updates = ports_.Updates;
  EventLists& events = ports_.Logs.Events();
  ListModel& changes = ports_.DriveChanges;
  askers_ = std::make_unique<AskingThreads>(
      [&threads](std::function<void()> work) {
        return threads.StartTask(L"drive answer", std::move(work));
      },
      stop);
  answering_ = std::make_unique<AnsweringDrives>(
      ports_.Drives, [this](std::function<void()> work) { return askers_->Run(std::move(work)); },
      kDriveAnswerWait, SystemDriveLetter(ports_.Env.WindowsFolder()));
  threads.StartMonitor(std::make_unique<StorageMonitor>(
      stop, StorageSources{.Drives = *answering_, .Clock = ports_.Clock, .Env = ports_.Env},
      StorageTargets{
          .Options = ports_.Options,
          .Meters = ports_.Meters,
          .Readings = readings_,
          .Titles = ports_.Titles,
          .AddDriveEvent = [&events](const std::wstring& line) { events.AddDriveEventLine(line); },
          .AddDriveChange =
              [&events, &changes](const std::wstring& line) { events.AddDatedLine(changes, line); },
          .LogRecord = [this](const std::wstring& record) { ports_.Logs.Log().LogLine(record); },
          .SetTrayImage = [&updates](int image) { updates.SetTrayImage(image); },
          .RefreshLayout = [&updates] { updates.Refresh(gadget::MiniWindow); },
          .MeterChanged = [this](int meter, bool force) { ports_.Mini.MeterChanged(meter, force); },
          .DrivesChanged = [&updates] { updates.Refresh(gadget::DriveFilterSelector); },
          .CopyPanel =
              [this, serveCopy = std::move(serveCopy)](int panel) {
                serveCopy(panel, [this](std::atomic<int>&) { return StorageTabCopy(); });
              }}));
}

// The followed drive keeps its item when the drives change: found again by its place or its
// serial (a stick that comes back under another letter). While it is away, every drive's changes
// are listed, as the selector then shows, and the choice is kept for its return.
void StorageWiring::FillDriveFilter() {
  const DriveTable table = readings_.Snapshot();
  const auto names = DriveTypeNames();
  const DriveFilter filter = BuildDriveFilter(
      table,
      {ports_.Options.Get(opt::FollowedDriveChoice), ports_.Texts.Get(slot::FilterDrvToWrite)},
      {names.begin(), names.end()});
  driveOfItem_ = filter.DriveOfItem;
  ports_.Gui.SetSelectorItems(gadget::DriveFilterSelector, filter.Items);
  ports_.Gui.SelectItem(gadget::DriveFilterSelector, filter.Selected);
  ports_.Options.Set(opt::DriveFilterItem, filter.Selected);
  Follow(filter.Followed, filter.Remembered);
}

void StorageWiring::FollowChosenDrive() {
  const int item = ports_.Gui.SelectedItem(gadget::DriveFilterSelector);
  const int drive = item >= 0 && static_cast<size_t>(item) < driveOfItem_.size()
                        ? driveOfItem_[static_cast<size_t>(item)]
                        : 0;
  ports_.Options.Set(opt::DriveFilterItem, std::max(item, 0));
  Follow(drive, ChoiceOf(readings_.Snapshot(), drive));
}

void StorageWiring::Follow(int drive, const FollowedDriveChoice& choice) {
  ports_.Texts.Set(slot::FilterDrvToWrite, choice.Serial);
  ports_.Options.Set(opt::FollowedDriveChoice, choice.Index);
  ports_.Options.Set(opt::FollowedDrive, drive);
}

std::wstring StorageWiring::StorageTabCopy() {
  std::vector<std::wstring> rows;
  for (const DriveListRow& row : DriveListRows(readings_.Snapshot()))
    rows.push_back(row.Text);
  return StoragePanelCopy(rows, ports_.DriveEvents.Rows());
}

}  // namespace tarvik
