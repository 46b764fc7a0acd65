#include "monitors/ping/ping_coordinator.h"

#include "core/settings_index.h"
#include "monitors/ping/ping_cycle.h"
#include "monitors/ping/ping_edits.h"
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
  keys_.TakeBase();
  std::wstring refusal;
  std::optional<PingList> loaded = sources_.LoadList(refusal);
  auto list = targets_.List->Lock();
  if (loaded) {
    list->Hosts = std::move(*loaded);
    RepairLoadedList(list->Hosts, Now(), [this] {
      sources_.Clock.SleepMs(kRepairKeySleepMs);
      return keys_.Next();
    });
  }
  // A refused file's reason stays until the next message.
  targets_.Texts.Set(slot::PingStatusMessage, refusal);
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
  targets_.List->Lock()->NextHostIndex = 0;
  if (!PingAllHosts(options.Get(opt::PingTimeout)))
    return;
  auto list = targets_.List->Lock();
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
bool PingCoordinator::PingAllHosts(int timeoutMs) {
  const size_t hosts = targets_.List->Lock()->Hosts.size();
  const auto running = std::make_shared<WorkerCount>();
  int started = 0;
  for (int worker = 0; worker < PingWorkerCount(workerBudgetMs_, hosts); ++worker) {
    running->Started();
    const bool launched =
        sources_.StartWorker([list = targets_.List, &icmp = sources_.Icmp, timeoutMs, running] {
          RunPingWorker(*list, icmp, timeoutMs);
          running->Ended();
        });
    if (launched)
      ++started;
    else
      running->Ended();
  }
  if (started == 0)
    RunPingWorker(*targets_.List, sources_.Icmp, timeoutMs);
  return running->WaitForAll([this] { return Stopping(); }, kWorkerWaitPollMs);
}

void PingCoordinator::CountDown(int32_t now) {
  Settings& options = targets_.Options;
  int32_t next = options.Get(opt::NextPingTime);
  if (now == countdownSecond_ || next - now < 0)
    return;
  const int interval = options.Get(opt::PingIntervalSeconds);
  if (next - now > interval) {
    next = now + interval;  // the clock went back
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
    const AddedHost added =
        AddHost(list->Hosts, static_cast<uint32_t>(request),
                targets_.Texts.Get(slot::PendingPingDescription),
                options.Get(opt::PingShowsAddresses) == 1, keys_.Next());
    if (added.DropPending)
      targets_.Texts.Set(slot::PendingHostNames, L"");
    if (added.Added) {
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
  const int32_t remove = options.Take(opt::PingDeleteRequest);
  const int32_t reset = options.Take(opt::PingResetRequest);
  const int32_t select = options.Take(opt::PingSelectRequest);
  if (remove == 0 && reset == 0 && select == 0)
    return;
  auto list = targets_.List->Lock();
  PingList& hosts = list->Hosts;
  if (select >= 1 && static_cast<size_t>(select) <= hosts.size() &&
      options.Get(opt::PingMouseX) == 0) {
    hosts[static_cast<size_t>(select - 1)].HiLi ^= 1;
  }
  if (remove != 0)
    SetMessage(DeleteHosts(hosts, remove == -1), now);
  if (reset != 0)
    SetMessage(ResetHosts(hosts, reset == -1), now);
  Changed(hosts);
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
  targets_.SaveList(Copy());
  targets_.SaveEvents();
}

void PingCoordinator::ServeCopy() {
  if (targets_.Options.Get(opt::CopyRequest) == kPingTabCopy)
    targets_.CopyPanel(Copy());
}

void PingCoordinator::SetMessage(const std::wstring& message, int32_t now) {
  targets_.Texts.Set(slot::PingStatusMessage, message);
  messageClearTime_ = now + kMessageSeconds;
}

void PingCoordinator::Redraw(PingList& hosts) {
  targets_.DrawHeader(hosts, targets_.Texts.Get(slot::PingStatusMessage));
  targets_.DrawList(hosts);
}

// After any change to the list: the count the window reads, and the list drawn again.
void PingCoordinator::Changed(PingList& hosts) {
  targets_.Options.Set(opt::PingHostCount, static_cast<int32_t>(hosts.size()));
  Redraw(hosts);
}

bool PingCoordinator::RequestsPending() const {
  const Settings& options = targets_.Options;
  for (const int request : {opt::PingHoverRow, opt::PingSelectRequest, opt::PingActionRequest,
                            opt::PingDeleteRequest, opt::PingResetRequest, opt::PingSortRequest,
                            opt::PingRedrawRequest}) {
    if (options.Get(request) != 0)
      return true;
  }
  return !targets_.Texts.Get(slot::PendingHostNames).empty() ||
         !targets_.Texts.Get(slot::PendingPingDescription).empty();
}

}  // namespace tarvik
