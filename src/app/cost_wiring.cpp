#include "app/cost_wiring.h"

#include "monitors/cost/cost_monitor.h"
#include "ui/file_status.h"
#include "ui/gadget_ids.h"
#include "ui/line_panel.h"
#include "ui/panel_copies.h"

namespace tarvik {

void CostWiring::Install(MonitorThreads& threads, WindowUpdateApplier& applier,
                         platform::FontId font) {
  font_ = font;
  threads.OnPassTimed([this](const std::wstring& monitor, int64_t tickMs, int64_t durationUs) {
    ledger_.Record(monitor, tickMs, durationUs);
  });
  applier.OnRefresh(gadget::OwnCostCanvas, [this] { Show(); });
}

void CostWiring::Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy) {
  EventLists& events = ports_.Logs.Events();
  WindowUpdateQueue& updates = ports_.Updates;
  threads.StartMonitor(std::make_unique<CostMonitor>(
      stop,
      CostSources{
          .Process = ports_.Process, .Passes = ledger_, .Clock = ports_.Clock, .Env = ports_.Env},
      CostTargets{
          .Options = ports_.Options,
          .Lines = lines_,
          .InView = inView_,
          .Show = [&updates] { updates.Refresh(gadget::OwnCostCanvas); },
          .RecordSystemEvent = [&events](const std::wstring& text) { events.AddSystemEvent(text); },
          .CopyAboutTab =
              [this, serveCopy = std::move(serveCopy)] {
                serveCopy(CostMonitor::kAboutTabCopy, [this](std::atomic<int>&) {
                  const bool portable = ports_.Options.IsOn(opt::PortableMode);
                  return AboutPanelCopy(FileStatusLines(*ports_.Files.Lock(), portable),
                                        lines_.Snapshot());
                });
              }}));
}

void CostWiring::NotePanelInView(bool inView) {
  inView_ = inView;
}

void CostWiring::Show() {
  DrawLinePanel(ports_.Gui, gadget::OwnCostCanvas, font_, lines_.Snapshot());
}

}  // namespace tarvik
