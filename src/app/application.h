#pragma once

#include <memory>

#include "app/cost_wiring.h"
#include "app/event_dispatcher.h"
#include "app/gpu_wiring.h"
#include "app/graph_controls.h"
#include "app/log_folder_rows.h"
#include "app/metrics_wiring.h"
#include "app/mini_title.h"
#include "app/mini_window_clicks.h"
#include "app/network_wiring.h"
#include "app/ping_wiring.h"
#include "app/program_logs.h"
#include "app/settings_tab_events.h"
#include "app/storage_wiring.h"
#include "app/tray_icon.h"
#include "app/window_callback.h"
#include "app/window_update_applier.h"
#include "core/guarded.h"
#include "core/list_model.h"
#include "core/meter_table.h"
#include "core/monitor_threads.h"
#include "core/panel_copy.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/stop_signal.h"
#include "core/text_slots.h"
#include "core/title_board.h"
#include "core/window_updates.h"
#include "monitors/system/system_sampler.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/http.h"
#include "platform/libraries.h"
#include "platform/memory.h"
#include "platform/network.h"
#include "platform/own_process.h"
#include "platform/page_server.h"
#include "platform/performance_counters.h"
#include "platform/power_status.h"
#include "platform/processors.h"
#include "platform/single_instance.h"
#include "platform/system_identity.h"
#include "platform/user_activity.h"
#include "platform/version_resources.h"
#include "platform/wmi.h"
#include "settings/bounded_write_test.h"
#include "settings/colour_list.h"
#include "settings/settings_file.h"
#include "settings/settings_saver.h"
#include "sysinfo/late_processor_answer.h"
#include "ui/fonts.h"
#include "ui/history_graph.h"
#include "ui/mini_window.h"

namespace tarvik {

// Everything the program asks of the operating system, handed in by the entry point.
struct PlatformPorts {
  platform::Gui& Gui;
  platform::FileSystem& Files;
  platform::Environment& Env;
  const platform::Clock& Clock;
  platform::SingleInstance& Instance;
  platform::Libraries& Libraries;
  platform::SystemIdentity& System;
  platform::VersionResources& Versions;
  platform::Wmi& Wmi;
  platform::Display& Display;
  platform::Memory& Memory;
  platform::Clipboard& Clipboard;
  platform::UserActivity& Activity;
  platform::Processors& Processors;
  platform::PowerSource& Power;
  platform::PerformanceCounters& Counters;
  platform::Drives& Drives;
  platform::IcmpEchoes& Echoes;
  platform::NameLookup& Names;
  platform::Network& Network;
  platform::Http& Http;
  platform::OwnProcess& Process;
};

// The program's main body: start-up, the event loop, and the ordered shut-down.
class Application {
 public:
  explicit Application(PlatformPorts ports);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the program from start to exit and returns its exit code. A second copy announces
  // itself and returns at once.
  int Run();

  // Where the NVIDIA Management Library is looked for; without it there is no GPU monitor.
  void UseNvml(platform::NvmlLoader load) { loadNvml_ = std::move(load); }
  // The system's own sleeper for the threads' waits; it outlives the application.
  void UseSleeper(platform::Sleeper& sleeper) { stop_.UseSleeper(sleeper); }
  // The listener the metrics page is served with; it outlives the application. Without it the
  // page cannot be switched on.
  void UseMetrics(platform::PageServer& server) { metrics_->UseServer(&server); }

  [[nodiscard]] Settings& SharedSettings() { return settings_; }
  [[nodiscard]] TextSlots& SharedTexts() { return texts_; }
  [[nodiscard]] Guarded<Paths>& SharedPaths() { return paths_; }
  // Where threads start so that shut-down waits for them.
  [[nodiscard]] MonitorThreads& Threads() { return threads_; }
  // Where workers queue what the windows should show.
  [[nodiscard]] WindowUpdateQueue& WindowUpdates() { return updates_; }
  // The rows of a main-window list that the program fills (the lists of the System and
  // Processors tabs); nullptr for any other gadget.
  [[nodiscard]] ListModel* List(int gadget);
  // The cells of the mini window and the rows the main lists show.
  [[nodiscard]] MeterTable& Meters() { return meters_; }
  // The history graphs' records, where samplers add their samples.
  [[nodiscard]] GraphStore& Graphs() { return graphs_; }
  // The mini window's title summaries, one per title-bar mode, as the monitors publish them.
  [[nodiscard]] TitleBoard& Titles() { return titles_; }
  // The network monitor's wiring (the end-to-end probe points its address lookup elsewhere).
  [[nodiscard]] NetworkWiring& Network() { return *network_; }
  // The ping monitor's wiring (the end-to-end probe reads the hosts' counts from its list).
  [[nodiscard]] PingWiring& Ping() { return *ping_; }

 private:
  // Start-up, in order; false when another copy already runs.
  bool StartUp();
  void PrepareSharedRecords();
  void BuildPaths();
  void RegisterMessages();
  void LoadOptionalLibraries();
  void ChooseLanguage();
  void LoadSettingsAndPlaceMainWindow();
  void UseDataFolder(const std::wstring& dataFolder);
  void InstallCallback(int window);
  void OpenMiniWindowAndTray();
  void BuildMiniCells();
  void InstallSettingsTab();
  // The file panel's log entry lies in the log folder as it stands.
  void ShowLogFolder();
  void ShowListModels();
  void ShowGraphsWhenSampled();
  // Draws the graphs of a tab that has just come into view.
  void ShowGraphsOfNewTab();
  void ShowProcessorGraph(int processor, int processorCount);
  // A monitor's failed pass shows on the status line and goes to the log.
  void ReportFailedPasses();
  void PostStatusMessage(const std::wstring& message);
  void ShowMiniTitleOfChosenMode();
  void StartMonitors();
  [[nodiscard]] SamplerTargets SystemSamplerTargets();
  void InstallDispatchAndShortcuts();
  void MinimizeAtStartIfAsked();

  void RunEventLoop();
  // The loop with anything that escapes it caught, so that shut-down still saves the events.
  void RunEventLoopGuarded();
  // The events file is written at every new hour, so a crash loses at most an hour of events.

  void ShutDown();

  void ShowFiles();
  void ShowSystemPanel();
  void RedrawAfterRescale(int window);
  void TakeLateProcessorAnswer();
  [[nodiscard]] ProcessorDescription ProcessorFromSlots();
  void PreparePanelCopies();
  // Runs on the system sampler's thread, so it touches no window.
  void CopySystemOrProcessorsTab(int panel);
  [[nodiscard]] SettingsContext SettingsView();
  void SaveSettingsIfChanged();

  PlatformPorts ports_;
  Settings settings_;
  TextSlots texts_;
  Guarded<Paths> paths_;
  MeterTable meters_;
  StopSignal stop_{settings_};
  MonitorThreads threads_{stop_, ports_.Env};
  WindowUpdateQueue updates_;
  // A share gone offline answers the write test only after many seconds; the window waits 2 s.
  BoundedWriteTest folderWriteTest_{ports_.Files,
                                    [this](std::function<void()> work) {
                                      return threads_.StartTask(L"folder write test",
                                                                std::move(work));
                                    },
                                    std::chrono::milliseconds(2'000)};
  GraphStore graphs_{ports_.Clock};
  GraphControls graphControls_{graphs_, settings_, updates_};
  Guarded<SystemReadings> systemReadings_;  // the system sampler's latest, for the graphs' titles
  TitleBoard titles_;
  LateProcessorAnswer lateProcessor_;
  Guarded<std::wstring> systemBlock_;    // the System tab's information block as last drawn
  Guarded<std::wstring> statusMessage_;  // the Processors tab's status line from the sampler
  std::unique_ptr<PanelCopy> panelCopy_;
  // The column titles of the Processors tab's lists, read once for the tab's copies.
  std::vector<std::wstring> processorInfoTitles_;
  std::vector<std::wstring> processorValueTitles_;
  std::vector<std::unique_ptr<ListModel>> lists_;
  std::unique_ptr<ProgramLogs> logs_;
  int lastShownTab_ = -1;
  Fonts fonts_;
  MiniWindow miniWindow_{ports_.Gui, settings_, meters_, fonts_, updates_};
  TrayIcon tray_{ports_.Gui, settings_};
  WindowUpdateApplier updateApplier_{ports_.Gui, tray_, updates_};
  MiniTitle miniTitle_{ports_.Gui, settings_, titles_, tray_};
  RegisteredMessages messages_;
  DefaultColours defaultColours_;
  SettingsSaver settingsSaver_;
  std::unique_ptr<WindowCallback> callback_;
  std::unique_ptr<EventDispatcher> dispatcher_;
  std::unique_ptr<MiniWindowClicks> miniClicks_;
  std::unique_ptr<SettingsTabEvents> settingsTab_;
  std::unique_ptr<LogFolderRows> logFolderRows_;
  std::unique_ptr<StorageWiring> storage_;
  std::unique_ptr<PingWiring> ping_;
  platform::NvmlLoader loadNvml_;
  std::unique_ptr<GpuWiring> gpu_;
  std::unique_ptr<NetworkWiring> network_;
  std::unique_ptr<MetricsWiring> metrics_;
  std::unique_ptr<CostWiring> cost_;
};

}  // namespace tarvik
