#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/event_dispatcher.h"
#include "app/program_logs.h"
#include "app/window_update_applier.h"
#include "core/guarded.h"
#include "core/meter_table.h"
#include "core/monitor_threads.h"
#include "core/panel_copy.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "core/window_updates.h"
#include "monitors/ping/ping_list_painter.h"
#include "monitors/ping/ping_list_state.h"
#include "monitors/ping/ping_requests.h"
#include "monitors/ping/ping_state_file.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/ping.h"
#include "ui/mini_window.h"

namespace tarvik {

struct PingPorts {
  platform::Gui& Gui;
  platform::IcmpEchoes& Echoes;
  platform::NameLookup& Names;
  const platform::Clock& Clock;
  platform::Environment& Env;
  platform::FileSystem& Files;
  platform::Clipboard& Clipboard;
  Settings& Options;
  TextSlots& Texts;
  Guarded<Paths>& SharedPaths;
  MeterTable& Meters;
  MiniWindow& Mini;
  WindowUpdateQueue& Updates;
  ProgramLogs& Logs;
};

// The ping monitor's place in the program: the Ping tab's gadgets and keys turned into requests,
// the resolver started for typed names, the coordinator started with its targets (the tab's
// canvases, the countdown, the mini window's ping cell, the state file), and the list saved at
// the end of the run.
class PingWiring {
 public:
  explicit PingWiring(PingPorts ports);

  // The window thread's side; `listFont` is the fixed-pitch font of the header and the list.
  void Install(EventDispatcher& dispatcher, WindowUpdateApplier& applier,
               platform::FontId listFont);
  void Start(MonitorThreads& threads, StopSignal& stop, PanelCopyServer serveCopy,
             std::function<void()> filesChanged);
  // Called on the window thread whenever the main window or its tab may have changed: the list
  // is drawn after each cycle only while the Ping tab is in view.
  void NotePanelInView(bool inView);
  // Shut-down: saves the list as it stands, after the threads were told to stop.
  void SaveAtEnd();
  // The ping list as the coordinator keeps it.
  [[nodiscard]] SharedPingList& SharedList() { return *list_; }

 private:
  // Window thread
  void AddTypedHost();
  void FillWellKnownSites();
  void PingNow();
  void ChooseInterval();
  void ChooseSlowResponse();
  void ChooseEntryMode();
  void ClickHeader(const platform::GuiEvent& event);
  void MouseOnList(const platform::GuiEvent& event);
  void ScrollList(const platform::GuiEvent& event);
  void StartResolver();
  void ShowScrollRange();
  [[nodiscard]] bool ListEmpty() const;
  // Coordinator thread
  std::optional<PingPaintResult> DrawList(PingList& hosts);
  void DrawHeader(const PingList& hosts, const std::wstring& message);
  void ShowIndicator(const std::wstring& text, bool alternate);
  std::wstring CopyHostLog(const PSys& host);
  PingFileStanding SaveList(const PingListState& list);
  [[nodiscard]] PingLoadResult LoadList();
  [[nodiscard]] std::wstring StatePath() const;

  PingPorts ports_;
  std::shared_ptr<SharedPingList> list_ = std::make_shared<SharedPingList>();
  std::shared_ptr<PingRequests> requests_ = std::make_shared<PingRequests>();
  platform::FontId listFont_ = platform::kNoFont;
  MonitorThreads* threads_ = nullptr;
  StopSignal* stop_ = nullptr;
  std::function<void()> filesChanged_;
  std::atomic<bool> inView_ = false;
  std::timed_mutex resolverTurn_;
  // Held by each save of the state file, the hourly ones and the end's.
  std::timed_mutex saveTurn_;
  // The coordinator's alone.
  PingListPainter painter_;
  Colour indicatorBack_ = 0;
  int shownContentHeight_ = -1;
};

}  // namespace tarvik
