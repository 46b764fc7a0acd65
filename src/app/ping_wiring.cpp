#include "app/ping_wiring.h"

#include <algorithm>
#include <chrono>

#include "core/error_signal.h"
#include "core/settings_index.h"
#include "core/version.h"
#include "monitors/ping/host_resolver.h"
#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_coordinator.h"
#include "monitors/ping/ping_copy_text.h"
#include "monitors/ping/ping_cycle.h"
#include "monitors/ping/ping_header_painter.h"
#include "monitors/ping/ping_log.h"
#include "monitors/ping/ping_mouse.h"
#include "monitors/ping/ping_readouts.h"
#include "monitors/ping/ping_state_file.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/ping_tab.h"

namespace tarvik {
namespace {

using platform::GadgetAction;
using platform::GuiEvent;

constexpr const wchar_t* kResolverName = L"host resolver";
constexpr const wchar_t* kNoAddress = L"0.0.0.0";
constexpr int kPingTabCopy = 5;
// The ping cell's blink colours: white on red.
constexpr Colour kBlinkText = Rgb(255, 255, 255);
constexpr Colour kBlinkBack = Rgb(255, 0, 0);
constexpr Colour kCellText = Rgb(0, 0, 0);
constexpr std::chrono::milliseconds kResolverTurnPoll{50};
constexpr std::chrono::seconds kEndSaveWait{10};
constexpr int kUnreadableRetries = 4;
constexpr int kUnreadableRetryMs = 250;

bool SameIgnoringCase(std::wstring a, std::wstring b) {
  const auto lower = [](std::wstring& text) {
    std::transform(text.begin(), text.end(), text.begin(), ::towlower);
  };
  lower(a);
  lower(b);
  return a == b;
}

}  // namespace

PingWiring::PingWiring(PingPorts ports) : ports_(ports) {}

void PingWiring::Install(EventDispatcher& dispatcher, WindowUpdateApplier& applier,
                         platform::FontId listFont) {
  listFont_ = listFont;
  indicatorBack_ = (*ports_.Meters.Lock())[kPingMeter].BackColour;
  GadgetRoutes& routes = dispatcher.Routes();
  const auto on = [&routes](int gadget, GadgetAction action,
                            std::function<void(const GuiEvent&)> run) {
    routes.On(gadget, action, [run = std::move(run)](const GuiEvent& event) {
      run(event);
      return LoopControl::Continue;
    });
  };
  on(gadget::PingAddButton, GadgetAction::Click, [this](const GuiEvent&) { AddTypedHost(); });
  on(gadget::PingNowButton, GadgetAction::Click, [this](const GuiEvent&) { PingNow(); });
  for (const auto& [button, request] :
       {std::pair{gadget::PingDeleteButton, opt::PingDeleteRequest},
        std::pair{gadget::PingResetButton, opt::PingResetRequest}}) {
    on(button, GadgetAction::Click, [this, request = request](const GuiEvent&) {
      if (!ListEmpty())
        ports_.Options.Request(request, ports_.Gui.IsShiftDown() ? -1 : 1);
    });
  }
  on(gadget::PingIntervalSelector, GadgetAction::Change,
     [this](const GuiEvent&) { ChooseInterval(); });
  on(gadget::SlowResponseSelector, GadgetAction::Change,
     [this](const GuiEvent&) { ChooseSlowResponse(); });
  on(gadget::PingShowSelector, GadgetAction::Change,
     [this](const GuiEvent&) { ChooseEntryMode(); });
  on(gadget::PingHeaderCanvas, GadgetAction::Click,
     [this](const GuiEvent& event) { ClickHeader(event); });
  for (const GadgetAction action :
       {GadgetAction::Click, GadgetAction::RightClick, GadgetAction::MouseMove})
    on(gadget::PingListCanvas, action, [this](const GuiEvent& event) { MouseOnList(event); });
  on(gadget::PingListCanvas, GadgetAction::Scroll,
     [this](const GuiEvent& event) { ScrollList(event); });
  dispatcher.OnCommand(Command::Enter, gadget::PingPanel, [this] { AddTypedHost(); });
  dispatcher.OnCommand(Command::Refresh, gadget::PingPanel, [this] { PingNow(); });
  dispatcher.OnCommand(Command::Reset, gadget::PingPanel, [this] { FillWellKnownSites(); });
  applier.OnRefresh(gadget::PingListCanvas, [this] { ShowScrollRange(); });
  ShowScrollRange();
}

void PingWiring::Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy,
                       std::function<void()> filesChanged) {
  threads_ = &threads;
  stop_ = &stop;
  filesChanged_ = std::move(filesChanged);
  WindowUpdateQueue& updates = ports_.Updates;
  threads.StartMonitor(std::make_unique<PingCoordinator>(
      stop,
      PingSources{.Echoes = ports_.Echoes,
                  .Clock = ports_.Clock,
                  .Env = ports_.Env,
                  .Requests = requests_,
                  .LoadList = [this] { return LoadList(); }},
      PingTargets{
          .Options = ports_.Options,
          .Texts = ports_.Texts,
          .List = list_,
          .DrawHeader = [this](const PingList& hosts,
                               const std::wstring& message) { DrawHeader(hosts, message); },
          .DrawList = [this](PingList& hosts) { return DrawList(hosts); },
          .PanelInView = [this] { return inView_.load(); },
          .ShowCountdown =
              [&updates](const std::wstring& text) {
                updates.SetGadgetText(gadget::PingNowButton, text);
              },
          .ShowTitleMessage =
              [&updates](const std::wstring& message) { updates.ShowTitleMessage(message); },
          .ShowIndicator = [this](const std::wstring& text,
                                  bool alternate) { ShowIndicator(text, alternate); },
          .SaveList = [this](const PingListState& list) { return SaveList(list); },
          .SaveEvents = [this] { static_cast<void>(ports_.Logs.SaveEvents()); },
          .CopyPanel =
              [serveCopy = std::move(serveCopy)](const PingList& hosts) {
                serveCopy(kPingTabCopy,
                          [&hosts](std::atomic<int>&) { return PingCopyText(hosts); });
              },
          .CopyHostLog = [this](const PSys& host) { return CopyHostLog(host); }}));
}

void PingWiring::NotePanelInView(bool inView) {
  if (inView && !inView_)
    ports_.Options.Request(opt::PingRedrawRequest);
  inView_ = inView;
}

// A coordinator left running by the shut-down wait may be inside its hourly save: the end's save
// waits for it, so that two saves never work on the files at once.
void PingWiring::SaveAtEnd() {
  std::unique_lock<std::timed_mutex> turn(saveTurn_, kEndSaveWait);
  if (!turn.owns_lock())
    return;
  PingListState list = list_->Snapshot();
  static_cast<void>(SavePingList(list.Hosts, list.Standing, ports_.Files, StatePath()));
}

// The Add button and Return: typed names go to the resolver; in address mode the typed address
// with its description goes to the coordinator, and anything that is not an address (or one that
// reads as 0.0.0.0 without being the entry's untouched "0.0.0.0") is refused with the
// coordinator's message.
void PingWiring::AddTypedHost() {
  platform::Gui& gui = ports_.Gui;
  if (ports_.Options.Get(opt::PingShowsAddresses) != 1) {
    const std::wstring names = HostNamesOfTypedText(gui.GadgetText(gadget::PingHostEntry));
    if (names.empty())
      return;
    ports_.Texts.Update(slot::PendingHostNames, [&names](std::wstring& pending) {
      pending = pending.empty() ? names : pending + L" " + names;
    });
    StartResolver();
    return;
  }
  const std::wstring typed = TrimBlanks(gui.GadgetText(gadget::PingHostEntry));
  if (typed == kNoAddress || typed.empty())
    return;
  const std::wstring description = gui.GadgetText(gadget::PingDescriptionEntry);
  const auto address = ParseIPv4(typed);
  const AddRequest add{
      .Address = address && *address != 0 ? static_cast<int32_t>(*address) : -1,
      .Description = SameIgnoringCase(description, Tr(L"Description")) ? L"" : description,
      .FromAddressEntry = true};
  if (!requests_->QueueAdd(add))
    ErrorSignal(ports_.Options, ports_.Env);
}

void PingWiring::FillWellKnownSites() {
  ports_.Gui.SelectItem(gadget::PingShowSelector, 0);
  ShowPingEntryMode(ports_.Gui, false);
  ports_.Texts.Set(slot::PendingHostNames, WellKnownSiteNames());
  StartResolver();
}

void PingWiring::PingNow() {
  if (!ListEmpty())
    ports_.Options.Set(opt::NextPingTime, static_cast<int32_t>(ports_.Clock.NowLocal()));
}

void PingWiring::ChooseInterval() {
  const int position = std::max(ports_.Gui.SelectedItem(gadget::PingIntervalSelector), 0);
  const int interval = PingIntervalAt(position);
  Settings& options = ports_.Options;
  options.Set(opt::PingIntervalChoice, position);
  options.Set(opt::PingIntervalSeconds, interval);
  options.Set(opt::PingTimeout, TimeoutAfterChoice(interval));
  options.Set(opt::NextPingTime, static_cast<int32_t>(ports_.Clock.NowLocal()));
}

void PingWiring::ChooseSlowResponse() {
  ports_.Options.Set(opt::SlowResponseChoice,
                     std::max(ports_.Gui.SelectedItem(gadget::SlowResponseSelector), 0));
  ports_.Options.Set(opt::SlowThreshold, 0);
}

void PingWiring::ChooseEntryMode() {
  const bool addressMode = ports_.Gui.SelectedItem(gadget::PingShowSelector) == 1;
  ports_.Options.Set(opt::PingShowsAddresses, addressMode ? 1 : 0);
  ShowPingEntryMode(ports_.Gui, addressMode);
}

void PingWiring::ClickHeader(const GuiEvent& event) {
  if (ListEmpty())
    return;
  if (const auto column = HeaderSortColumn(event.Mouse.X, ports_.Options.Get(opt::PingCharWidth)))
    ports_.Options.Request(opt::PingSortRequest, *column);
}

// Clicks become select (left) and action (right) requests for the row, with the timeline's x
// when they fall inside it; a move over a row asks for its read-out while nothing else waits.
void PingWiring::MouseOnList(const GuiEvent& event) {
  Settings& options = ports_.Options;
  const PingLayout layout{.RowHeight = options.Get(opt::PingRowHeight),
                          .CharWidth = options.Get(opt::PingCharWidth),
                          .TimelineX = options.Get(opt::PingTimelineX),
                          .TimelineWidth = options.Get(opt::PingTimelineWidth)};
  const PingListSpot spot =
      PingListSpotAt(event.Mouse.X, event.Mouse.Y, options.Get(opt::PingFirstRow), layout,
                     options.Get(opt::PingHostCount));
  const bool onText = spot.Region == PingListRegion::Text;
  const bool onTimeline = spot.Region == PingListRegion::Timeline;
  const auto action = static_cast<GadgetAction>(event.Detail);
  if (spot.Row == 0 || !(onText || onTimeline))
    return;
  const RowRequest request{
      .Row = spot.Row, .MouseX = onTimeline ? event.Mouse.X : 0, .CharColumn = spot.CharColumn};
  if (action != GadgetAction::MouseMove) {
    static_cast<void>(
        requests_->Ask(action == GadgetAction::Click ? RowAsk::Select : RowAsk::Action, request));
    return;
  }
  if (requests_->AnyRowRequest() || (onText && spot.CharColumn < kLastDownColumn))
    return;
  static_cast<void>(requests_->Ask(RowAsk::Hover, request));
}

void PingWiring::ScrollList(const GuiEvent& event) {
  const int rowHeight = ports_.Options.Get(opt::PingRowHeight);
  if (rowHeight < 1)
    return;
  ports_.Options.Set(opt::PingFirstRow, event.Mouse.Y / rowHeight);
  ports_.Options.Request(opt::PingRedrawRequest);
}

// One resolver looks names up at a time; one started while another runs waits for its turn, so
// that names added at any moment are looked up and two resolvers never hand over at once.
void PingWiring::StartResolver() {
  if (threads_ == nullptr)
    return;
  static_cast<void>(threads_->StartTask(kResolverName, [this] {
    std::unique_lock<std::timed_mutex> turn(resolverTurn_, std::defer_lock);
    while (!turn.try_lock_for(kResolverTurnPoll)) {
      if (stop_->Raised())
        return;
    }
    ResolvePendingHostNames(*requests_, ports_.Texts, ports_.Names,
                            [this](int milliseconds) { return stop_->WaitFor(milliseconds); });
  }));
}

// The scroll bar covers every row; its top follows the first row the coordinator drew.
void PingWiring::ShowScrollRange() {
  const Settings& options = ports_.Options;
  const int rowHeight = std::max(options.Get(opt::PingRowHeight), 1);
  ports_.Gui.SetCanvasScroll(gadget::PingListCanvas,
                             rowHeight * options.Get(opt::PingHostCount) + 1, rowHeight,
                             rowHeight * options.Get(opt::PingFirstRow));
}

bool PingWiring::ListEmpty() const {
  return ports_.Options.Get(opt::PingHostCount) == 0;
}

std::optional<PingPaintResult> PingWiring::DrawList(PingList& hosts) {
  Settings& options = ports_.Options;
  std::optional<PingPaintResult> painted;
  PingLayout layout;
  const int threshold = options.Get(opt::SlowThreshold);
  const PingPaintStyle style{
      .Font = listFont_,
      .ListBack = static_cast<Colour>(options.Get(opt::PingListBackColour)),
      .Timeline = {.SlowThreshold = threshold > 0
                                        ? threshold
                                        : SlowThresholdOf(options.Get(opt::SlowResponseChoice)),
                   .Comprehensive = options.IsOn(opt::ComprehensivePingTimeline)}};
  const int firstAsked = options.Get(opt::PingFirstRow);
  int first = 0;
  ports_.Gui.DrawCanvas(gadget::PingListCanvas, [&](platform::Canvas& canvas) {
    layout = MeasurePingLayout(canvas, listFont_);
    const int visible = layout.RowHeight > 0 ? canvas.Extent().Height / layout.RowHeight : 0;
    first = std::clamp(firstAsked, 0, std::max(static_cast<int>(hosts.size()) - visible, 0));
    painted = painter_.Paint(canvas, hosts, layout, first, style);
  });
  if (!painted)
    return painted;
  options.Set(opt::PingRowHeight, layout.RowHeight);
  options.Set(opt::PingCharWidth, layout.CharWidth);
  options.Set(opt::PingTimelineX, layout.TimelineX);
  options.Set(opt::PingTimelineWidth, layout.TimelineWidth);
  options.Set(opt::PingFirstRow, first);
  const int contentHeight = layout.RowHeight * static_cast<int>(hosts.size()) + 1;
  if (contentHeight != shownContentHeight_ || first != firstAsked) {
    shownContentHeight_ = contentHeight;
    ports_.Updates.Refresh(gadget::PingListCanvas);
  }
  return painted;
}

void PingWiring::DrawHeader(const PingList& hosts, const std::wstring& message) {
  const Settings& options = ports_.Options;
  const PingLayout layout{.RowHeight = options.Get(opt::PingRowHeight),
                          .CharWidth = options.Get(opt::PingCharWidth),
                          .TimelineX = options.Get(opt::PingTimelineX),
                          .TimelineWidth = options.Get(opt::PingTimelineWidth)};
  const PingHeaderStyle style{.Font = listFont_,
                              .Back = static_cast<Colour>(options.Get(opt::PingListBackColour))};
  const auto colour = static_cast<Colour>(options.Get(opt::PingStatusColour));
  ports_.Gui.DrawCanvas(gadget::PingHeaderCanvas, [&](platform::Canvas& canvas) {
    DrawPingHeader(canvas, style, layout, hosts, message, colour);
  });
}

void PingWiring::ShowIndicator(const std::wstring& text, bool alternate) {
  {
    auto meters = ports_.Meters.Lock();
    MeterRecord& cell = (*meters)[kPingMeter];
    cell.Text = text;
    cell.TextColour = alternate ? kBlinkText : kCellText;
    cell.BackColour = alternate ? kBlinkBack : indicatorBack_;
  }
  ports_.Mini.MeterChanged(kPingMeter, true);
}

std::wstring PingWiring::CopyHostLog(const PSys& host) {
  const std::wstring log = PingLogText(host, ports_.Clock.NowLocal(), kVersionText);
  if (!ports_.Clipboard.SetText(log))
    return Tr(L"Failed");
  return PingLogSavedMessage(host);
}

PingFileStanding PingWiring::SaveList(const PingListState& list) {
  PingFileStanding standing = list.Standing;
  {
    std::lock_guard<std::timed_mutex> turn(saveTurn_);
    static_cast<void>(SavePingList(list.Hosts, standing, ports_.Files, StatePath()));
  }
  ports_.Updates.Refresh(gadget::FileStatusCanvas);
  return standing;
}

// Another program may hold the file for a moment (a backup, a virus scan): it is read again a few
// times before the list starts without it.
PingLoadResult PingWiring::LoadList() {
  PingLoadResult loaded = LoadPingList(ports_.Files, StatePath());
  for (int retry = 0; retry < kUnreadableRetries && loaded.Outcome == PingLoadOutcome::Unreadable;
       ++retry) {
    if (stop_->WaitFor(kUnreadableRetryMs))
      break;
    loaded = LoadPingList(ports_.Files, StatePath());
  }
  return loaded;
}

std::wstring PingWiring::StatePath() const {
  return ports_.SharedPaths.Lock()->PingStatePath;
}

}  // namespace tarvik
