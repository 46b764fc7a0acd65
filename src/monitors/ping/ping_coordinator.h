#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/monitor_thread.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "monitors/ping/creation_keys.h"
#include "monitors/ping/echo_engine.h"
#include "monitors/ping/ping_layout.h"
#include "monitors/ping/ping_list_painter.h"
#include "monitors/ping/ping_list_state.h"
#include "monitors/ping/ping_requests.h"
#include "monitors/ping/ping_sorting.h"
#include "monitors/ping/ping_state_file.h"
#include "monitors/ping/second_turns.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/ping.h"

namespace tarvik {

struct PingSources {
  // Sent to and collected from on the coordinator's thread only.
  platform::IcmpEchoes& Echoes;
  const platform::Clock& Clock;
  platform::Environment& Env;
  // What the window and the resolver ask of single rows and adds.
  std::shared_ptr<PingRequests> Requests;
  // The list the state file holds, with the reason when a file was refused or could not be read;
  // called once, unless stop comes first.
  std::function<PingLoadResult()> LoadList;
};

// Where the coordinator's results go; each callable runs on the coordinator's thread. The list
// callables are given the list while the coordinator holds it.
struct PingTargets {
  Settings& Options;
  TextSlots& Texts;
  std::shared_ptr<SharedPingList> List;
  // The header line: the message (empty for the column titles) over the list.
  std::function<void(const PingList& hosts, const std::wstring& message)> DrawHeader;
  // The rows and timelines; sets each host's CFor and CBak and counts the answering and the
  // silent active hosts; nothing while no list canvas can be drawn.
  std::function<std::optional<PingPaintResult>(PingList& hosts)> DrawList;
  // The main window shows the Ping tab.
  std::function<bool()> PanelInView;
  std::function<void(const std::wstring& text)> ShowCountdown;
  std::function<void(const std::wstring& message)> ShowTitleMessage;
  // The mini window's ping cell: the up/down text, and whether it shows its blink colours.
  std::function<void(const std::wstring& text, bool alternate)> ShowIndicator;
  // The hourly saves, each given a copy of the list taken under the lock: the state file, which
  // returns how the list then stands to it, then the events file.
  std::function<PingFileStanding(const PingListState& list)> SaveList;
  std::function<void()> SaveEvents;
  // Serves a copy request for the Ping tab with the rows of the list.
  std::function<void(const PingList& hosts)> CopyPanel;
  // Puts the host's ping log on the clipboard; returns the message that says so.
  std::function<std::wstring(const PSys& host)> CopyHostLog;
};

// The ping coordinator: as each interval's second begins, a cycle sends one echo to every active
// host at once, and when they are all back (within one time-out, however many are silent) the
// statistics of the cycle are taken. Meanwhile, and between cycles, it carries out the window's
// requests (add, delete, reset, select, pause, sort, hover, log), keeps the countdown and the
// header message, blinks the indicator and saves the list every hour. It alone changes the list.
class PingCoordinator : public MonitorThread {
 public:
  static constexpr const wchar_t* kName = L"ping coordinator";
  static constexpr int kFirstCycleDelaySeconds = 10;
  static constexpr int kMessageSeconds = 5;

  PingCoordinator(StopSignal& stop, PingSources sources, PingTargets targets);

  int Pass(int64_t tickMs) override;

 protected:
  // Echoes complete only while the coordinator waits for them, so it rests in the engine while
  // any are out, and wakes as the second of the next cycle begins.
  bool Rest(int milliseconds) override;
  // After the last pass, lets the echoes still out come back (within the shut-down's wait)
  // rather than leave them to be cancelled when the thread ends.
  void Run() override;

 private:
  void StartUp();
  void TallyFinishedCycles();
  void StartCycleIfDue(int32_t now);
  void CountDown(int32_t now);
  void ServeAddRequests(int32_t now);
  void ServeAddRequest(PingListState& list, const AddRequest& request, int32_t now);
  void ClearStaleMessage(int32_t now);
  void ServeListRequests(int32_t now);
  void ServeRowRequests(PingList& hosts, int32_t now);
  void ServeHover(PingList& hosts, const RowRequest& hover);
  void ServeSortRequest();
  void ServeRedrawRequest();
  void AnnounceSlowThreshold(int32_t now);
  void SaveOnNewHour(int32_t now);
  void ShowIndicator();
  void ServeCopy();

  bool RestUntil(int64_t endTick);
  bool WatchForTurn(int32_t due, int64_t estimate);
  [[nodiscard]] std::optional<int64_t> NextCycleTurn() const;

  // Sets the header message for kMessageSeconds and shows it at once.
  void SetMessage(const PingList& hosts, const std::wstring& message, int32_t now);
  void Redraw(PingList& hosts);
  void Changed(PingList& hosts);
  [[nodiscard]] bool RequestsPending() const;
  [[nodiscard]] bool Stopping() const;
  [[nodiscard]] int32_t Now() const;
  [[nodiscard]] PingList Copy();
  [[nodiscard]] PingLayout Layout() const;

  StopSignal& stop_;
  PingSources sources_;
  PingTargets targets_;
  CreationKeys keys_;
  EchoEngine engine_;
  SecondTurns turns_;
  bool started_ = false;
  bool cycled_ = false;
  int32_t countdownSecond_ = 0;
  int32_t messageClearTime_ = 0;
  int64_t savedHour_ = -1;
  std::wstring countdownShown_;
  int upCount_ = 0;
  int downCount_ = 0;
  int shownUp_ = -1;
  int shownDown_ = -1;
  int blinkCount_ = 0;
  bool blinking_ = false;
  std::wstring indicatorText_;
  int lastHoverRow_ = 0;
  int lastHoverX_ = 0;
  PingSortCycle sortCycle_;
};

}  // namespace tarvik
