#include "monitors/ping/ping_coordinator.h"

#include <algorithm>
#include <vector>

#include "core/monitor_threads.h"
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
constexpr int kRepairKeySleepMs = 5;
// While echoes are out the coordinator waits in slices this long, so that stop is seen soon.
constexpr int kRestSliceMs = 50;
// The watch for a cycle's second: how often the clock is read, and how long past the estimate
// the watch goes on before the estimate counts as lost.
constexpr int kTurnWatchStepMs = 2;
constexpr int kTurnWatchLimitMs = 300;
constexpr int64_t kSecondsPerHour = 3'600;
constexpr const wchar_t* kNoCountdown = L"--";
// The echoes still out at stop are waited for until shortly before shut-down gives up on the
// thread.
constexpr int kLandingMs = MonitorThreads::kMaxStopWaits * MonitorThreads::kStopWaitMs - 200;

}  // namespace

PingCoordinator::PingCoordinator(StopSignal& stop, PingSources sources, PingTargets targets)
    : MonitorThread(kName, kPingPriority, stop, sources.Clock, sources.Env),
      stop_(stop),
      sources_(std::move(sources)),
      targets_(std::move(targets)),
      keys_(sources_.Clock),
      engine_(sources_.Echoes, sources_.Clock) {}

int32_t PingCoordinator::Now() const {
  return static_cast<int32_t>(sources_.Clock.NowLocal());
}

bool PingCoordinator::Stopping() const {
  return targets_.Options.Get(opt::StopFlag) >= 1;
}

PingList PingCoordinator::Copy() {
  return targets_.List->Lock()->Hosts;
}

void PingCoordinator::Run() {
  MonitorThread::Run();
  engine_.Land(kLandingMs);
}

int PingCoordinator::Pass(int64_t /*tickMs*/) {
  if (!started_) {
    StartUp();
    started_ = true;
  }
  if (Stopping())
    return 0;
  TallyFinishedCycles();
  const int32_t now = Now();
  turns_.Note(now, sources_.Clock.TickMs());
  StartCycleIfDue(now);
  CountDown(now);
  ServeAddRequests(now);
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
  // The base was taken as a second began.
  turns_.Anchor(Now(), sources_.Clock.TickMs());
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
  Changed(list->Hosts);
}

// Each cycle whose echoes are all back is tallied, oldest first.
void PingCoordinator::TallyFinishedCycles() {
  while (std::optional<EchoCycle> cycle = engine_.TakeFinished()) {
    auto list = targets_.List->Lock();
    const CycleTally tally = TallyCycle(list->Hosts, *cycle, cycle->Second);
    upCount_ = tally.Up;
    downCount_ = tally.Down;
    if (targets_.PanelInView())
      Redraw(list->Hosts);
    blinkCount_ = BlinksAfterCycle(downCount_, targets_.Options.Get(opt::PingIntervalSeconds));
  }
}

// A cycle starts as its second begins, whatever the cycles before it still wait for; only the
// most cycles the engine keeps out at once hold it back.
void PingCoordinator::StartCycleIfDue(int32_t now) {
  Settings& options = targets_.Options;
  if (options.Get(opt::PingHostCount) == 0 || now < options.Get(opt::NextPingTime) ||
      engine_.CyclesInFlight() >= EchoEngine::kMostCyclesInFlight) {
    return;
  }
  options.Set(opt::NextPingTime, now + options.Get(opt::PingIntervalSeconds));
  targets_.ShowCountdown(kNoCountdown);
  countdownShown_ = kNoCountdown;
  cycled_ = true;
  std::vector<uint32_t> addresses;
  {
    auto list = targets_.List->Lock();
    for (const PSys& host : list->Hosts) {
      if (host.Actv == 1)
        addresses.push_back(static_cast<uint32_t>(host.Valu));
    }
  }
  // The sends happen outside the list's lock: the window's requests do not wait for them.
  static_cast<void>(engine_.Start(addresses, options.Get(opt::PingTimeout), now));
}

bool PingCoordinator::Rest(int milliseconds) {
  const int64_t start = sources_.Clock.TickMs();
  const std::optional<int64_t> turn = NextCycleTurn();
  const int64_t watchFrom = turn ? *turn - turns_.LeadMs() : start + milliseconds;
  if (watchFrom >= start + milliseconds)
    return RestUntil(start + milliseconds);
  if (RestUntil(watchFrom))
    return true;
  return WatchForTurn(targets_.Options.Get(opt::NextPingTime), *turn);
}

// The tick at which the next cycle falls due, when one will start then.
std::optional<int64_t> PingCoordinator::NextCycleTurn() const {
  const Settings& options = targets_.Options;
  const int32_t due = options.Get(opt::NextPingTime);
  if (options.Get(opt::PingHostCount) == 0 || Now() >= due)
    return std::nullopt;
  return turns_.Begins(due);
}

// Waits until `endTick`, taking the echoes' completions while any cycle is out; returns sooner
// when a cycle has finished, so that it is tallied at once. True when stop was raised. The waits
// also count themselves, so that a clock that stands still cannot hold the coordinator here.
bool PingCoordinator::RestUntil(int64_t endTick) {
  const int64_t planned = endTick - sources_.Clock.TickMs();
  if (engine_.CyclesInFlight() == 0)
    return planned > 0 && stop_.WaitFor(static_cast<int>(planned));
  int64_t waited = 0;
  for (int64_t left = planned; left > 0 && waited < 2 * planned;
       left = endTick - sources_.Clock.TickMs()) {
    const int slice = static_cast<int>(std::min<int64_t>(left, kRestSliceMs));
    engine_.Wait(slice);
    waited += slice;
    if (Stopping())
      return true;
    if (engine_.HasFinished())
      return false;
  }
  return Stopping();
}

// Reads the clock in short steps until the cycle's second begins, and corrects the estimate of
// when seconds begin by what it saw.
bool PingCoordinator::WatchForTurn(int32_t due, int64_t estimate) {
  const platform::Clock& clock = sources_.Clock;
  if (Now() >= due) {
    turns_.Missed(due, clock.TickMs());
    return Stopping();
  }
  // The steps count themselves too, as the rests do.
  const int steps = (turns_.LeadMs() + kTurnWatchLimitMs) / kTurnWatchStepMs;
  for (int step = 0; step < steps && clock.TickMs() < estimate + kTurnWatchLimitMs; ++step) {
    if (RestUntil(clock.TickMs() + kTurnWatchStepMs))
      return true;
    if (Now() >= due) {
      turns_.Caught(due, clock.TickMs());
      return false;
    }
  }
  turns_.Forget();
  return Stopping();
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

void PingCoordinator::ServeAddRequests(int32_t now) {
  if (sources_.Requests->AddsWaiting() == 0)
    return;
  auto list = targets_.List->Lock();
  while (std::optional<AddRequest> request = sources_.Requests->TakeAdd())
    ServeAddRequest(*list, *request, now);
}

void PingCoordinator::ServeAddRequest(PingListState& list, const AddRequest& request, int32_t now) {
  // 0 is no address: a typed "0.0.0.0" would ping nothing for ever.
  if (request.Address == -1 || request.Address == 0) {
    SetMessage(list.Hosts, Tr(L"Invalid Host Name or IP Address"), now);
    return;
  }
  const AddedHost added = AddHost(list.Hosts, static_cast<uint32_t>(request.Address),
                                  request.Description, request.FromAddressEntry, keys_.Next());
  if (added.DropPending)
    targets_.Texts.Set(slot::PendingHostNames, L"");
  if (added.Added) {
    if (list.Standing == PingFileStanding::Emptied)
      list.Standing = PingFileStanding::Read;
    targets_.Texts.Set(slot::PingStatusMessage, L"");
    messageClearTime_ = 0;
    targets_.Options.Set(opt::PingFirstRow, static_cast<int32_t>(list.Hosts.size()));
  } else {
    SetMessage(list.Hosts, added.Message, now);
  }
  Changed(list.Hosts);
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
  const bool rows = sources_.Requests->AnyRowRequest();
  const int32_t remove = options.Take(opt::PingDeleteRequest);
  const int32_t reset = options.Take(opt::PingResetRequest);
  if (rows || remove != 0 || reset != 0) {
    auto list = targets_.List->Lock();
    PingList& hosts = list->Hosts;
    if (rows)
      ServeRowRequests(hosts, now);
    if (remove != 0 || reset != 0) {
      if (remove != 0) {
        SetMessage(hosts, DeleteHosts(hosts, remove == -1), now);
        // Only a list the files gave may take them along when the user empties it.
        if (hosts.empty() && list->Standing == PingFileStanding::Read)
          list->Standing = PingFileStanding::Emptied;
      }
      if (reset != 0)
        SetMessage(hosts, ResetHosts(hosts, reset == -1), now);
      Changed(hosts);
    }
  }
  ServeSortRequest();
  ServeRedrawRequest();
}

// Clicks and hovers on a row, each with the x it was made at. Inside the timeline a left click
// does nothing and a right click copies the host's log; on the text a left click selects the row
// and a right click pauses or resumes its host.
void PingCoordinator::ServeRowRequests(PingList& hosts, int32_t now) {
  PingRequests& requests = *sources_.Requests;
  const auto hostAt = [&hosts](const std::optional<RowRequest>& request) -> PSys* {
    return request && request->Row >= 1 && static_cast<size_t>(request->Row) <= hosts.size()
               ? &hosts[static_cast<size_t>(request->Row - 1)]
               : nullptr;
  };
  const std::optional<RowRequest> select = requests.Take(RowAsk::Select);
  if (PSys* host = hostAt(select); host && select->MouseX == 0) {
    host->HiLi ^= 1;
    Changed(hosts);
  }
  const std::optional<RowRequest> action = requests.Take(RowAsk::Action);
  if (PSys* host = hostAt(action)) {
    if (action->MouseX == 0) {
      host->Actv ^= 1;
      Changed(hosts);
    } else {
      SetMessage(hosts, targets_.CopyHostLog(*host), now);
    }
  }
  const std::optional<RowRequest> hover = requests.Take(RowAsk::Hover);
  if (hostAt(hover))
    ServeHover(hosts, *hover);
}

// A hover is read out only when the mouse moved to another row or column since the last one.
void PingCoordinator::ServeHover(PingList& hosts, const RowRequest& hover) {
  const PSys& host = hosts[static_cast<size_t>(hover.Row - 1)];
  if (hover.MouseX != 0 && (hover.Row != lastHoverRow_ || hover.MouseX != lastHoverX_)) {
    targets_.ShowTitleMessage(TimelineReadout(host, hover.MouseX, Layout()));
  } else if (hover.MouseX == 0 && hover.Row != lastHoverRow_) {
    if (const auto readout = LastDownReadout(host, hover.CharColumn))
      targets_.ShowTitleMessage(*readout);
  }
  lastHoverRow_ = hover.Row;
  lastHoverX_ = hover.MouseX;
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
  SetMessage(list->Hosts,
             Tr(L"Slow response (Yellow Bars) set to") + L" " + std::to_wstring(threshold) + L" " +
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

void PingCoordinator::SetMessage(const PingList& hosts, const std::wstring& message, int32_t now) {
  targets_.Texts.Set(slot::PingStatusMessage, message);
  messageClearTime_ = now + kMessageSeconds;
  targets_.DrawHeader(hosts, message);
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
  for (const int request : {opt::PingDeleteRequest, opt::PingResetRequest, opt::PingSortRequest,
                            opt::PingRedrawRequest}) {
    if (options.Get(request) != 0)
      return true;
  }
  return sources_.Requests->AnyRowRequest() || sources_.Requests->AddsWaiting() > 0 ||
         !targets_.Texts.Get(slot::PendingHostNames).empty();
}

}  // namespace tarvik
