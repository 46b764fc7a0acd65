#include "monitors/ping/ping_coordinator.h"

#include <algorithm>

#include "core/settings_index.h"
#include "monitors/ping/ping_copy_text.h"
#include "monitors/ping/ping_cycle.h"
#include "monitors/ping/ping_edits.h"
#include "monitors/ping/ping_indicator.h"
#include "monitors/ping/ping_readouts.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kPingPriority = 16;
constexpr int kPingTabCopy = 5;
constexpr int kQuietSleepMs = 250;
constexpr int kBusySleepMs = 125;
constexpr int kWorkerWaitPollMs = 40;
constexpr int kAddedHostBudgetMs = 500;
constexpr int kRepairKeySleepMs = 5;
constexpr int64_t kSecondsPerHour = 3'600;
constexpr const wchar_t* kNoCountdown = L"--";

}  // namespace

PingCoordinator::PingCoordinator(StopSignal& stop, PingSources sources, PingTargets targets)
    : MonitorThread(kName, kPingPriority, stop, sources.Clock, sources.Env),
      sources_(std::move(sources)),
      targets_(std::move(targets)),
      keys_(sources_.Clock) {}

int32_t PingCoordinator::Now() const {
  return static_cast<int32_t>(sources_.Clock.NowLocal());
}

bool PingCoordinator::Stopping() const {
  return targets_.Options.Get(opt::StopFlag) >= 1;
}

PingList PingCoordinator::Copy() {
  return targets_.List->Lock()->Hosts;
}

int PingCoordinator::Pass(int64_t /*tickMs*/) {
  if (!started_) {
    StartUp();
    started_ = true;
  }
  RunCycleIfDue(Now());
  if (Stopping())
    return 0;
  const int32_t now = Now();
  CountDown(now);
  ServeAddRequest(now);
  ClearStaleMessage(now);
  ServeListRequests(now);
  AnnounceSlowThreshold(now);
  SaveOnNewHour(now);
  ShowIndicator();
  ServeCopy();
  return RequestsPending() || upCount_ != 0 ? kBusySleepMs : kQuietSleepMs;
}

void PingCoordinator::StartUp() {
  Settings& options = targets_.Options;
  const int interval = PingIntervalAt(options.Get(opt::PingIntervalChoice));
  options.Set(opt::PingIntervalSeconds, interval);
  options.Set(opt::PingTimeout, TimeoutAtStart(interval));
  options.Set(opt::SlowThreshold, SlowThresholdOf(options.Get(opt::SlowResponseChoice)));
  const int32_t now = Now();
  options.Set(opt::NextPingTime, now + kFirstCycleDelaySeconds);
  keys_.TakeBase([this] { return Stopping(); });
  // Stopped while waiting for the base: the list is neither loaded nor drawn.
  if (Stopping())
    return;
  PingLoadResult loaded = sources_.LoadList();
  auto list = targets_.List->Lock();
  list->Standing = loaded.Standing;
  if (loaded.Outcome == PingLoadOutcome::Loaded) {
    list->Hosts = std::move(loaded.Hosts);
    RepairLoadedList(list->Hosts, Now(), [this] {
      sources_.Clock.SleepMs(kRepairKeySleepMs);
      return keys_.Next();
    });
  }
  // A refused file's reason stays until the next message.
  targets_.Texts.Set(slot::PingStatusMessage, loaded.Reason);
  messageClearTime_ = 0;
  savedHour_ = Now() / kSecondsPerHour;
  workerBudgetMs_ = kFirstCycleBudgetMs;
  Changed(list->Hosts);
}

void PingCoordinator::RunCycleIfDue(int32_t now) {
  Settings& options = targets_.Options;
  if (options.Get(opt::PingHostCount) == 0 || now < options.Get(opt::NextPingTime) ||
      !targets_.Texts.Get(slot::PendingHostNames).empty() ||
      !targets_.Texts.Get(slot::PendingPingDescription).empty() || blinkCount_ > 0) {
    return;
  }
  options.Set(opt::NextPingTime, now + options.Get(opt::PingIntervalSeconds));
  targets_.ShowCountdown(kNoCountdown);
  countdownShown_ = kNoCountdown;
  cycled_ = true;
  const auto cycle = std::make_shared<PingCycle>();
  PrepareCycle(targets_.List->Lock()->Hosts, options.Get(opt::PingTimeout), *cycle);
  if (!PingAllHosts(cycle))
    return;
  auto list = targets_.List->Lock();
  ApplyReplies(*cycle, list->Hosts);
  const CycleTally tally = TallyCycle(list->Hosts, Now());
  workerBudgetMs_ = tally.BudgetMs;
  upCount_ = tally.Up;
  downCount_ = tally.Down;
  if (targets_.PanelInView())
    Redraw(list->Hosts);
  blinkCount_ = BlinksAfterCycle(downCount_, options.Get(opt::PingIntervalSeconds));
}

// Starts the cycle's workers and waits for them; false when stop came first. When the registry
// gives no worker at all, the coordinator pings the hosts itself, so a cycle is never lost.
bool PingCoordinator::PingAllHosts(const std::shared_ptr<PingCycle>& cycle) {
  const auto running = std::make_shared<WorkerCount>();
  int started = 0;
  for (int worker = 0; worker < PingWorkerCount(workerBudgetMs_, cycle->Targets.size()); ++worker) {
    running->Started();
    const bool launched = sources_.StartWorker([cycle, &icmp = sources_.Icmp, running] {
      RunPingWorker(*cycle, icmp);
      running->Ended();
    });
    if (launched)
      ++started;
    else
      running->Ended();
  }
  if (started == 0)
    RunPingWorker(*cycle, sources_.Icmp);
  return running->WaitForAll([this] { return Stopping(); }, kWorkerWaitPollMs);
}

void PingCoordinator::CountDown(int32_t now) {
  Settings& options = targets_.Options;
  int32_t next = options.Get(opt::NextPingTime);
  if (now == countdownSecond_ || next - now < 0)
    return;
  // A wait longer than the interval means the clock went back; before the first cycle the wait
  // may be the start's longer delay.
  const int interval = options.Get(opt::PingIntervalSeconds);
  const int longest = cycled_ ? interval : std::max(interval, kFirstCycleDelaySeconds);
  if (next - now > longest) {
    next = now + interval;
    options.Set(opt::NextPingTime, next);
  }
  countdownSecond_ = now;
  std::wstring text = kNoCountdown;
  if (options.Get(opt::PingHostCount) > 0 && next - now >= 1)
    text = std::to_wstring(next - now);
  else
    options.Set(opt::NextPingTime, now);
  if (text != countdownShown_) {
    countdownShown_ = text;
    targets_.ShowCountdown(text);
  }
}

void PingCoordinator::ServeAddRequest(int32_t now) {
  Settings& options = targets_.Options;
  const int32_t request = options.Get(opt::PingAddressRequest);
  if (request == 0)
    return;
  auto list = targets_.List->Lock();
  if (request == -1) {
    SetMessage(Tr(L"Invalid Host Name or IP Address"), now);
  } else {
    const AddedHost added = AddHost(list->Hosts, static_cast<uint32_t>(request),
                                    targets_.Texts.Get(slot::PendingPingDescription),
                                    options.Get(opt::PingShowsAddresses) == 1, keys_.Next());
    if (added.DropPending)
      targets_.Texts.Set(slot::PendingHostNames, L"");
    if (added.Added) {
      if (list->Standing == PingFileStanding::Emptied)
        list->Standing = PingFileStanding::Read;
      workerBudgetMs_ += kAddedHostBudgetMs;
      targets_.Texts.Set(slot::PingStatusMessage, L"");
      messageClearTime_ = 0;
      options.Set(opt::PingFirstRow, static_cast<int32_t>(list->Hosts.size()));
    } else {
      SetMessage(added.Message, now);
    }
    Changed(list->Hosts);
  }
  // The description goes before the request, so that a resolver waiting for the request to
  // clear never has its next description wiped.
  targets_.Texts.Set(slot::PendingPingDescription, L"");
  options.Set(opt::PingAddressRequest, 0);
}

void PingCoordinator::ClearStaleMessage(int32_t now) {
  if (messageClearTime_ < 1 || messageClearTime_ >= now)
    return;
  targets_.Texts.Set(slot::PingStatusMessage, L"");
  messageClearTime_ = 0;
  targets_.DrawHeader(targets_.List->Lock()->Hosts, L"");
}

void PingCoordinator::ServeListRequests(int32_t now) {
  Settings& options = targets_.Options;
  const bool rows = options.Get(opt::PingSelectRequest) != 0 ||
                    options.Get(opt::PingActionRequest) != 0 || options.Get(opt::PingHoverRow) != 0;
  const int32_t remove = options.Take(opt::PingDeleteRequest);
  const int32_t reset = options.Take(opt::PingResetRequest);
  if (rows || remove != 0 || reset != 0) {
    auto list = targets_.List->Lock();
    PingList& hosts = list->Hosts;
    if (rows)
      ServeRowRequests(hosts, now);
    if (remove != 0 || reset != 0) {
      if (remove != 0) {
        SetMessage(DeleteHosts(hosts, remove == -1), now);
        // Only a list the files gave may take them along when the user empties it.
        if (hosts.empty() && list->Standing == PingFileStanding::Read)
          list->Standing = PingFileStanding::Emptied;
      }
      if (reset != 0)
        SetMessage(ResetHosts(hosts, reset == -1), now);
      Changed(hosts);
    }
  }
  ServeSortRequest();
  ServeRedrawRequest();
}

// Clicks and hovers on a row. Inside the timeline a left click does nothing and a right click
// copies the host's log; on the text a left click selects the row and a right click pauses or
// resumes its host.
void PingCoordinator::ServeRowRequests(PingList& hosts, int32_t now) {
  Settings& options = targets_.Options;
  const int32_t mouseX = options.Take(opt::PingMouseX);
  const int32_t select = options.Take(opt::PingSelectRequest);
  const int32_t action = options.Take(opt::PingActionRequest);
  const int32_t hover = options.Take(opt::PingHoverRow);
  const auto hostAt = [&hosts](int32_t row) -> PSys* {
    return row >= 1 && static_cast<size_t>(row) <= hosts.size()
               ? &hosts[static_cast<size_t>(row - 1)]
               : nullptr;
  };
  if (PSys* host = hostAt(select); host && mouseX == 0) {
    host->HiLi ^= 1;
    Changed(hosts);
  }
  if (PSys* host = hostAt(action)) {
    if (mouseX == 0) {
      host->Actv ^= 1;
      Changed(hosts);
    } else {
      SetMessage(targets_.CopyHostLog(*host), now);
      targets_.DrawHeader(hosts, targets_.Texts.Get(slot::PingStatusMessage));
    }
  }
  if (hostAt(hover))
    ServeHover(hosts, hover, mouseX);
}

// A hover is read out only when the mouse moved to another row or column since the last one.
void PingCoordinator::ServeHover(PingList& hosts, int row, int mouseX) {
  const PSys& host = hosts[static_cast<size_t>(row - 1)];
  if (mouseX != 0 && (row != lastHoverRow_ || mouseX != lastHoverX_)) {
    targets_.ShowTitleMessage(TimelineReadout(host, mouseX, Layout()));
  } else if (mouseX == 0 && row != lastHoverRow_) {
    if (const auto readout = LastDownReadout(host, targets_.Options.Get(opt::PingCharColumn)))
      targets_.ShowTitleMessage(*readout);
  }
  lastHoverRow_ = row;
  lastHoverX_ = mouseX;
}

void PingCoordinator::ServeSortRequest() {
  const int32_t column = targets_.Options.Take(opt::PingSortRequest);
  if (column < 1 || column > 7)
    return;
  const PingSortOrder order = sortCycle_.Click(column);
  auto list = targets_.List->Lock();
  SortPings(list->Hosts, column, order);
  targets_.ShowTitleMessage(SortingTitle(column, order));
  Changed(list->Hosts);
}

// The list canvas scrolled or came into view: what it shows now is drawn.
void PingCoordinator::ServeRedrawRequest() {
  if (targets_.Options.Take(opt::PingRedrawRequest) == 0)
    return;
  auto list = targets_.List->Lock();
  Redraw(list->Hosts);
}

void PingCoordinator::AnnounceSlowThreshold(int32_t now) {
  Settings& options = targets_.Options;
  if (options.Get(opt::SlowThreshold) != 0)
    return;
  const int threshold = SlowThresholdOf(options.Get(opt::SlowResponseChoice));
  options.Set(opt::SlowThreshold, threshold);
  auto list = targets_.List->Lock();
  SetMessage(Tr(L"Slow response (Yellow Bars) set to") + L" " + std::to_wstring(threshold) + L" " +
                 Tr(L"ms"),
             now);
  Redraw(list->Hosts);
}

void PingCoordinator::SaveOnNewHour(int32_t now) {
  const int64_t hour = now / kSecondsPerHour;
  if (hour == savedHour_)
    return;
  savedHour_ = hour;
  const PingListState before = targets_.List->Snapshot();
  const PingFileStanding after = targets_.SaveList(before);
  {
    // The list may have been emptied or refilled meanwhile: that standing is the newer one.
    auto list = targets_.List->Lock();
    if (list->Standing == before.Standing)
      list->Standing = after;
  }
  targets_.SaveEvents();
}

// The mini window's ping cell shows the counts of the last cycle and, after a cycle with silent
// hosts, blinks: each pass turns its blink colours on or off, and each return to the normal
// colours counts one blink down.
void PingCoordinator::ShowIndicator() {
  const bool changed = upCount_ != shownUp_ || downCount_ != shownDown_;
  if (!changed && blinkCount_ < 1)
    return;
  if (changed) {
    if (const auto text = UpDownIndicatorText(upCount_, downCount_))
      indicatorText_ = *text;
    shownUp_ = upCount_;
    shownDown_ = downCount_;
  }
  if (blinking_) {
    blinking_ = false;
    blinkCount_ = downCount_ == 0 ? 0 : blinkCount_ - 1;
  } else if (blinkCount_ >= 1) {
    blinking_ = true;
  }
  targets_.ShowIndicator(indicatorText_, blinking_);
}

void PingCoordinator::ServeCopy() {
  if (targets_.Options.Get(opt::CopyRequest) == kPingTabCopy)
    targets_.CopyPanel(Copy());
}

void PingCoordinator::SetMessage(const std::wstring& message, int32_t now) {
  targets_.Texts.Set(slot::PingStatusMessage, message);
  messageClearTime_ = now + kMessageSeconds;
}

// Drawing the list also counts the answering and silent hosts for the indicator.
// The list first: the header places its time span by the layout the list measured.
void PingCoordinator::Redraw(PingList& hosts) {
  if (const std::optional<PingPaintResult> painted = targets_.DrawList(hosts)) {
    upCount_ = painted->UpCount;
    downCount_ = painted->DownCount;
  }
  targets_.DrawHeader(hosts, targets_.Texts.Get(slot::PingStatusMessage));
}

PingLayout PingCoordinator::Layout() const {
  const Settings& options = targets_.Options;
  return {.RowHeight = options.Get(opt::PingRowHeight),
          .CharWidth = options.Get(opt::PingCharWidth),
          .TimelineX = options.Get(opt::PingTimelineX),
          .TimelineWidth = options.Get(opt::PingTimelineWidth)};
}

// After any change to the list: the count the window reads, and the list drawn again.
void PingCoordinator::Changed(PingList& hosts) {
  targets_.Options.Set(opt::PingHostCount, static_cast<int32_t>(hosts.size()));
  Redraw(hosts);
}

bool PingCoordinator::RequestsPending() const {
  const Settings& options = targets_.Options;
  for (const int request :
       {opt::PingHoverRow, opt::PingSelectRequest, opt::PingActionRequest, opt::PingDeleteRequest,
        opt::PingResetRequest, opt::PingSortRequest, opt::PingRedrawRequest}) {
    if (options.Get(request) != 0)
      return true;
  }
  return !targets_.Texts.Get(slot::PendingHostNames).empty() ||
         !targets_.Texts.Get(slot::PendingPingDescription).empty();
}

}  // namespace tarvik
