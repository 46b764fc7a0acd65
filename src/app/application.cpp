#include "app/application.h"

#include <chrono>
#include <functional>

#include "app/language.h"
#include "app/messages.h"
#include "app/second_instance.h"
#include "app/shortcuts.h"
#include "core/fixed_lists.h"
#include "core/path_text.h"
#include "core/version.h"
#include "monitors/storage/storage_monitor.h"
#include "monitors/system/desktop_events.h"
#include "monitors/system/system_sampler.h"
#include "monitors/system/text_shapes.h"
#include "settings/defaults.h"
#include "settings/settings_location.h"
#include "sysinfo/bounded_wmi.h"
#include "sysinfo/operating_system.h"
#include "sysinfo/processor_properties.h"
#include "text/date_format.h"
#include "text/translation.h"
#include "ui/file_status.h"
#include "ui/gadget_ids.h"
#include "ui/gpu_graphs.h"
#include "ui/graph_titles.h"
#include "ui/graph_view.h"
#include "ui/main_window.h"
#include "ui/mini_window.h"
#include "ui/panel_copies.h"
#include "ui/processor_captions.h"
#include "ui/processor_grid.h"
#include "ui/settings_tab.h"
#include "ui/system_panel.h"
#include "ui/window_placement.h"

namespace tarvik {
namespace {

// A timer of the mini window applies, once a minute, what a lost wake note left pending.
constexpr int kPendingUpdatesTimer = 3;
constexpr int kPendingUpdatesCheckMs = 60'000;
// Start-up waits this long at most for the processor's description; a WMI service that does
// not answer by then leaves it empty.
constexpr std::chrono::milliseconds kProcessorQueryWait{5'000};

}  // namespace

Application::Application(PlatformPorts ports) : ports_(ports) {
  updates_.SetWake([this] { return ports_.Gui.Wake(); });
  for (const int list :
       {gadget::BatteryList, gadget::PhysicalList, gadget::PageFileList, gadget::ProcessorsList,
        gadget::SystemEventsList, gadget::ProcessorInfoList, gadget::ProcessorLoadList,
        gadget::NetworkEventsList, gadget::DriveEventsList, gadget::DriveList, gadget::GpuList}) {
    lists_.push_back(std::make_unique<ListModel>(list, updates_));
  }
  logs_ = std::make_unique<ProgramLogs>(
      ProgramLogPorts{ports_.Files, ports_.Clock, settings_, texts_, paths_, updates_,
                      [this](std::function<void()> work) {
                        return threads_.StartTask(L"log writer", std::move(work));
                      }},
      EventListModels{*List(gadget::SystemEventsList), *List(gadget::NetworkEventsList),
                      *List(gadget::DriveEventsList)});
  storage_ = std::make_unique<StorageWiring>(StoragePorts{
      ports_.Gui, ports_.Drives, ports_.Clock, ports_.Env, settings_, texts_, meters_, titles_,
      updates_, *logs_, *List(gadget::DriveList), *List(gadget::DriveEventsList), miniWindow_});
  ping_ = std::make_unique<PingWiring>(PingPorts{
      ports_.Gui, ports_.Echoes, ports_.Names, ports_.Clock, ports_.Env, ports_.Files,
      ports_.Clipboard, settings_, texts_, paths_, meters_, miniWindow_, updates_, *logs_});
  network_ = std::make_unique<NetworkWiring>(NetworkPorts{
      ports_.Gui, ports_.Network, ports_.Http, ports_.Clock, ports_.Env, settings_, texts_, meters_,
      titles_, updates_, *logs_, *List(gadget::NetworkEventsList), graphs_, miniWindow_});
  gpu_ = std::make_unique<GpuWiring>(
      GpuPorts{ports_.Gui, ports_.Clock, ports_.Env, settings_, meters_, updates_, *logs_,
               *List(gadget::GpuList), miniWindow_, graphs_,
               [this] { return loadNvml_ ? loadNvml_() : nullptr; },
               [this](int graph, int mouseX) { graphControls_.ShowReadout(graph, mouseX); }});
  metrics_ = std::make_unique<MetricsWiring>(MetricsPorts{
      ports_.Gui, settings_,
      MetricsSources{systemReadings_, storage_->SharedReadings(), network_->SharedReadings(),
                     ping_->SharedList(), gpu_->SharedReadings()},
      [this](const std::wstring& line) { logs_->Log().LogLine(line); }});
  cost_ = std::make_unique<CostWiring>(CostPorts{ports_.Gui, ports_.Process, ports_.Clock,
                                                 ports_.Env, settings_, updates_, *logs_, paths_});
}

ListModel* Application::List(int gadget) {
  for (const auto& list : lists_) {
    if (list->Gadget() == gadget)
      return list.get();
  }
  return nullptr;
}

// Each list shows its model's rows whenever the model changed.
void Application::ShowListModels() {
  for (const auto& list : lists_) {
    ListModel& model = *list;
    updateApplier_.OnRefresh(
        model.Gadget(), [this, &model] { ports_.Gui.SetListRows(model.Gadget(), model.Rows()); });
  }
}

int Application::Run() {
  if (!StartUp())
    return 0;
  RunEventLoopGuarded();
  ShutDown();
  return 0;
}

bool Application::StartUp() {
  PrepareSharedRecords();
  BuildPaths();
  RegisterMessages();
  tray_.BuildImages();
  // A mutex that cannot be had for another reason (a copy running elevated denies access to it)
  // also means another copy runs: starting anyway would have two copies writing the same files.
  if (ports_.Instance.Acquire(kSingleInstanceMutexName) != platform::InstanceLock::Acquired) {
    RunSecondInstance(ports_.Gui, ports_.Clock, ports_.Env.UserDefaultLanguageId());
    return false;
  }
  LoadOptionalLibraries();
  static_cast<void>(gpu_->LoadLibrary());
  fonts_ = LoadFonts(ports_.Gui);
  OpenProgressWindow(ports_.Gui, settings_, fonts_);
  // From the first window on, the callback hears requests such as the quit message; one that
  // comes while starting is kept until start-up ends.
  InstallCallback(gadget::MiniWindow);
  ChooseLanguage();
  static_cast<void>(ReadOperatingSystem(ports_.System, ports_.Versions, settings_, texts_));
  AddProgressLine(ports_.Gui, L"\r\n2-OS: " + texts_.Get(slot::OsDescription));
  AddProgressLine(ports_.Gui, L"\r\n3-" + Tr(L"Loading: PC Hardware"));
  BoundedWmi wmi(
      ports_.Wmi,
      [this](std::function<void()> work) {
        return threads_.StartTask(L"processor query", std::move(work));
      },
      kProcessorQueryWait,
      [this](ProcessorRows rows) {
        lateProcessor_.Leave(std::move(rows));
        updates_.Refresh(gadget::LogoCanvas);
      });
  ReadProcessorProperties(wmi, settings_, texts_);
  AddProgressLine(ports_.Gui, L"\r\n4-" + Tr(L"Loading: Tarvik Window"));
  BuildMainWindow(ports_.Gui, fonts_, settings_, graphs_, false);
  *statusMessage_.Lock() = ProcessorLibraryNotice(settings_.IsOn(opt::PowerLibraryPresent),
                                                  settings_.IsOn(opt::PdhLibraryPresent));
  // The progress window closes before the mini window opens; the main window hears the
  // callback's messages meanwhile.
  InstallCallback(gadget::MainWindow);
  AddProgressLine(ports_.Gui, L"\r\n5-" + Tr(L"Loading: Settings"));
  LoadSettingsAndPlaceMainWindow();
  AddProgressLine(ports_.Gui, L"\r\n6-" + Tr(L"Loading: Events"));
  logs_->RestoreEventsAndNoteStart();
  OpenMiniWindowAndTray();
  InstallCallback(gadget::MiniWindow);
  InstallDispatchAndShortcuts();
  MinimizeAtStartIfAsked();
  ShowFiles();
  ShowSystemPanel();
  ShowGraphsOfNewTab();
  ShowMiniTitleOfChosenMode();
  ReportFailedPasses();
  StartMonitors();
  metrics_->Apply();
  ports_.Gui.StartTimer(gadget::MiniWindow, kPendingUpdatesTimer, kPendingUpdatesCheckMs);
  callback_->EndStartUp();
  return true;
}

void Application::PrepareSharedRecords() {
  ApplyDefaults(settings_, ports_.Env.LogicalProcessorCount(), ports_.Clock.NowLocal());
  settings_.Set(opt::LanguageCount, 0);
  settings_.Set(opt::LanguageId, 0);
  PlaceFixedLists(texts_);
}

void Application::BuildPaths() {
  const std::wstring appData = ports_.Env.AppDataFolder();
  texts_.Set(slot::BaseFolder, appData);
  texts_.Set(slot::MakerFolderName, kMakerFolderName);
  auto paths = paths_.Lock();
  paths->ProgramFile = ports_.Env.ProgramFile();
  paths->ProgramFolder = FolderOf(paths->ProgramFile);
  paths->LogFileName = L"TK" + FormatDate(L"%yyyy%mm", ports_.Clock.NowLocal()) + L".log";
  paths->DefaultDataFolder = appData + kMakerFolderName + L"\\";
  paths->DataFolder = paths->DefaultDataFolder;
  paths->PingStatePath = paths->DataFolder + kPingStateName;
  paths->SagaStatePath = paths->DataFolder + kSagaStateName;
  paths->Files[kProgramFileEntry].Name = FileNameOf(paths->ProgramFile);
  paths->Files[kProgramFileEntry].Folder = paths->ProgramFolder;
  paths->Files[kSettingsFileEntry].Name = kSettingsFileName;
  paths->Files[kSettingsFileEntry].Folder = paths->DataFolder;
  paths->Files[kLogFileEntry].Name = paths->LogFileName;
  paths->Files[kLogFileEntry].Folder = paths->DefaultDataFolder;
  paths->Files[kPingStateEntry].Name = kPingStateName;
  paths->Files[kPingStateEntry].Folder = paths->DataFolder;
  paths->Files[kSagaStateEntry].Name = kSagaStateName;
  paths->Files[kSagaStateEntry].Folder = paths->DataFolder;
}

void Application::RegisterMessages() {
  messages_.Activate = ports_.Gui.RegisterMessage(kActivateMessageName);
  messages_.Deactivate = ports_.Gui.RegisterMessage(kDeactivateMessageName);
  messages_.TaskbarCreated = ports_.Gui.RegisterMessage(kTaskbarCreatedName);
}

void Application::LoadOptionalLibraries() {
  using platform::OptionalLibrary;
  const std::pair<OptionalLibrary, int> flags[] = {
      {OptionalLibrary::Power, opt::PowerLibraryPresent},
      {OptionalLibrary::NetworkProvider, opt::NetProviderLibraryPresent},
      {OptionalLibrary::IpHelper, opt::IpHelperLibraryPresent},
      {OptionalLibrary::PerformanceData, opt::PdhLibraryPresent},
      {OptionalLibrary::Dns, opt::DnsLibraryPresent}};
  for (const auto& [library, flag] : flags) {
    settings_.Set(flag, ports_.Libraries.Load(library) ? 1 : 0);
  }
}

void Application::ChooseLanguage() {
  const int language = LanguageFromLangId(ports_.Env.UserDefaultLanguageId());
  settings_.Set(opt::LanguageId, language);
  AddProgressLine(ports_.Gui, LanguageProgressLine(language));
  LoadTranslations(language);
  {
    auto paths = paths_.Lock();
    paths->Files[kSettingsFileEntry].Status = Tr(L"None, using default settings.");
    paths->Files[kLogFileEntry].Status = Tr(L"None, log file setting disabled.");
    paths->Files[kPingStateEntry].Status = Tr(L"None, no active ping data.");
    paths->Files[kSagaStateEntry].Status = Tr(L"None, restore previous sessions events disabled.");
  }
  settings_.Set(opt::LanguageId, 0);
  settings_.Set(opt::LanguageCount, 0);
}

SettingsContext Application::SettingsView() {
  return {ports_.Files,
          settings_,
          texts_,
          defaultColours_,
          paths_.Lock()->ProgramFolder,
          0,
          [this](const std::wstring& folder) { return folderWriteTest_.Passes(folder); }};
}

void Application::LoadSettingsAndPlaceMainWindow() {
  defaultColours_ = DefaultColours(settings_);
  SettingsContext context = SettingsView();
  // A copy: the paths stay unlocked while the file is read, so nothing that reads them then waits.
  const std::wstring defaultDataFolder = paths_.Lock()->DefaultDataFolder;
  const LoadResult loaded = LocateAndLoadSettings(context, defaultDataFolder);
  settingsSaver_.RememberSaved(CurrentSettingsTexts(context));
  UseDataFolder(loaded.DataFolder);
  ShowLogFolder();
  // The graphs were built before the file was read.
  TakeGraphColours(graphs_, settings_);
  const std::wstring logFolder = texts_.Get(slot::LogFolder);
  if (settings_.IsOn(opt::LogEnabled) && logFolder == defaultDataFolder) {
    static_cast<void>(ports_.Files.CreateFolder(logFolder));
  }
  logs_->StartLog();

  platform::Gui& gui = ports_.Gui;
  const platform::Rect bounds = gui.WindowBounds(gadget::MainWindow);
  const platform::Point position = MainWindowStartPosition(
      {settings_.Get(opt::MainX), settings_.Get(opt::MainY)}, {bounds.X, bounds.Y},
      {bounds.Width, bounds.Height}, gui.WorkAreaOf(gadget::MainWindow));
  gui.MoveWindow(gadget::MainWindow, position);
  ApplySettingsToPanels(gui, settings_, texts_);
  // Built hidden, before the settings that say whether it shows were read; shown before the mini
  // window opens so that the mini window ends up above it.
  if (!settings_.IsOn(opt::StartMinimized))
    gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Normal);
}

void Application::UseDataFolder(const std::wstring& dataFolder) {
  auto paths = paths_.Lock();
  paths->DataFolder = dataFolder;
  paths->PingStatePath = dataFolder + kPingStateName;
  paths->SagaStatePath = dataFolder + kSagaStateName;
  for (const int entry : {kSettingsFileEntry, kPingStateEntry, kSagaStateEntry}) {
    paths->Files[static_cast<size_t>(entry)].Folder = dataFolder;
  }
}

void Application::SaveSettingsIfChanged() {
  SettingsContext context = SettingsView();
  if (settingsSaver_.SaveIfChanged(context) == SaveOutcome::Written)
    ShowFiles();
}

void Application::InstallCallback(int window) {
  if (!callback_) {
    callback_ =
        std::make_unique<WindowCallback>(ports_.Gui, settings_, texts_, stop_, tray_, messages_);
  }
  ports_.Gui.SetMessageHandler(callback_.get(), window);
}

void Application::OpenMiniWindowAndTray() {
  OpenMiniWindow(ports_.Gui, settings_, fonts_, !settings_.IsOn(opt::StartMinimized));
  BuildMiniCells();
  tray_.ShowIfEnabled();
}

void Application::BuildMiniCells() {
  miniWindow_.Build();
  updateApplier_.OnRefresh(gadget::MiniWindow, [this] { miniWindow_.RedrawAll(); });
}

void Application::InstallDispatchAndShortcuts() {
  dispatcher_ = std::make_unique<EventDispatcher>(ports_.Gui, settings_, texts_, ports_.Env, tray_);
  dispatcher_->SetSaveOnClose([this] {
    logFolderRows_->CloseEditor();
    SaveSettingsIfChanged();
  });
  // The system's name and build and the processor's description cannot change while the
  // program runs: they were read at start, and a refresh asks again only what can change.
  dispatcher_->SetOnSystemRefresh([this] { ShowSystemPanel(); });
  dispatcher_->SetOnRescaled([this](int window) { RedrawAfterRescale(window); });
  miniClicks_ = std::make_unique<MiniWindowClicks>(ports_.Gui, settings_, meters_, *dispatcher_);
  miniClicks_->SetMetrics(miniWindow_.Metrics());
  miniClicks_->Install();
  InstallSettingsTab();
  ShowListModels();
  ShowGraphsWhenSampled();
  graphControls_.OnLookChanged([this] {
    lastShownTab_ = -1;
    ShowGraphsOfNewTab();
  });
  graphControls_.Install(*dispatcher_);
  storage_->Install(dispatcher_->Routes(), updateApplier_);
  ping_->Install(*dispatcher_, updateApplier_, fonts_.Console8);
  network_->Install(dispatcher_->Routes(), updateApplier_);
  gpu_->Install(dispatcher_->Routes(), updateApplier_);
  metrics_->Install(dispatcher_->Routes());
  cost_->Install(threads_, updateApplier_, fonts_.Console8);
  RegisterShortcuts(ports_.Gui);
}

void Application::InstallSettingsTab() {
  settingsTab_ = std::make_unique<SettingsTabEvents>(
      SettingsTabPorts{ports_.Gui, settings_, texts_, ports_.Env, ports_.Files, paths_, tray_},
      [this] { return SettingsView(); });
  settingsTab_->OnFilesChanged([this] { ShowFiles(); });
  settingsTab_->OnLogBufferingChanged([this] { logs_->Log().ApplyBufferSize(); });
  settingsTab_->OnLogSwitchedOff([this] { logs_->Log().WritePendingLines(); });
  settingsTab_->OnCompactChanged([this](bool compact) { miniWindow_.SetCompact(compact); });
  settingsTab_->OnImported([this] {
    TakeGraphColours(graphs_, settings_);
    lastShownTab_ = -1;
    ShowGraphsOfNewTab();
    miniTitle_.Show();
    ShowLogFolder();
    metrics_->Apply();
  });
  settingsTab_->Install(dispatcher_->Routes());
  logFolderRows_ = std::make_unique<LogFolderRows>(LogFolderPorts{
      ports_.Gui, ports_.Files, texts_, paths_,
      [this](const std::wstring& folder) { return folderWriteTest_.Passes(folder); }});
  logFolderRows_->OnFolderChanged([this] {
    ShowLogFolder();
    ShowFiles();
  });
  logFolderRows_->Install(dispatcher_->Routes());
}

void Application::ShowLogFolder() {
  const std::wstring folder = texts_.Get(slot::LogFolder);
  if (!folder.empty())
    paths_.Lock()->Files[kLogFileEntry].Folder = folder;
}

// A sampled graph is drawn again only while the main window shows its tab, with the values the
// sampler read last.
void Application::ShowGraphsWhenSampled() {
  platform::Gui& gui = ports_.Gui;
  const auto shown = [&gui](int tab) {
    return gui.IsWindowVisible(gadget::MainWindow) &&
           gui.SelectedPanelTab(gadget::MainPanel) == tab;
  };
  for (const int graph :
       {gadget::PhysicalGraph, gadget::PageFileGraph, gadget::ProcessorSpeedGraph,
        gadget::AverageLoadGraph, gadget::DriveReadGraph, gadget::DriveWriteGraph}) {
    updateApplier_.OnRefresh(graph, [this, &gui, shown, graph] {
      if (shown(TabOfGraph(graph)))
        ShowGraphOf(gui, graphs_, graph, SystemGraphValues(graph, *systemReadings_.Lock()));
    });
  }
  const int count = std::min(settings_.Get(opt::ProcessorCount), kMaxProcessorGraphs);
  const int first = settings_.Get(opt::FirstProcessorGraph);
  for (int processor = 0; processor < count; ++processor) {
    updateApplier_.OnRefresh(first + processor, [this, shown, processor, count] {
      if (shown(gadget::ProcessorsPanel))
        ShowProcessorGraph(processor, count);
    });
  }
}

void Application::ShowProcessorGraph(int processor, int processorCount) {
  const GraphTitles titles =
      ProcessorGraphTitles(processor, processorCount, *systemReadings_.Lock());
  ShowGraph(ports_.Gui, graphs_, settings_.Get(opt::FirstProcessorGraph) + processor, L"%", titles);
}

// A tab's graphs are drawn only while it shows, so one that comes into view is brought up to date.
void Application::ShowGraphsOfNewTab() {
  platform::Gui& gui = ports_.Gui;
  const int tab =
      gui.IsWindowVisible(gadget::MainWindow) && !gui.IsWindowMinimized(gadget::MainWindow)
          ? gui.SelectedPanelTab(gadget::MainPanel)
          : -1;
  ping_->NotePanelInView(tab == gadget::PingPanel);
  cost_->NotePanelInView(tab == gadget::AboutPanel);
  if (tab == lastShownTab_)
    return;
  lastShownTab_ = tab;
  if (tab == gadget::GraphicsPanel) {
    gpu_->ShowGraphs();
    return;
  }
  if (tab == gadget::ProcessorsPanel) {
    const int count = std::min(settings_.Get(opt::ProcessorCount), kMaxProcessorGraphs);
    for (int processor = 0; processor < count; ++processor)
      ShowProcessorGraph(processor, count);
    return;
  }
  for (const int graph :
       {gadget::PhysicalGraph, gadget::PageFileGraph, gadget::ProcessorSpeedGraph,
        gadget::AverageLoadGraph, gadget::DriveReadGraph, gadget::DriveWriteGraph}) {
    if (TabOfGraph(graph) == tab)
      ShowGraphOf(gui, graphs_, graph, SystemGraphValues(graph, *systemReadings_.Lock()));
  }
  if (tab == gadget::NetworksPanel)
    network_->ShowGraphs();
}

// Where the system sampler's results go; every callable runs on the sampler's thread.
SamplerTargets Application::SystemSamplerTargets() {
  return {.Options = settings_,
          .Meters = meters_,
          .PhysicalHistory = *List(gadget::PhysicalList),
          .PageFileHistory = *List(gadget::PageFileList),
          .BatteryUptimeIdle = *List(gadget::BatteryList),
          .ProcessorHistory = *List(gadget::ProcessorsList),
          .ProcessorInfo = *List(gadget::ProcessorInfoList),
          .ProcessorValues = *List(gadget::ProcessorLoadList),
          .Readings = systemReadings_,
          .Titles = titles_,
          .MeterChanged = [this](int meter, bool force) { miniWindow_.MeterChanged(meter, force); },
          .AddGraphSample =
              [this](int graph, float value) {
                graphs_.AddSample(graph, value);
                updates_.Refresh(graph);
              },
          .RescaleGraph =
              [this](int graph, int64_t bytesPerSecond) {
                graphs_.RescaleRateGraph(graph, bytesPerSecond,
                                         settings_.Get(opt::ReportedDesktopScale) / 100.0);
              },
          .ShowStatusMessage = [this](const std::wstring& message) { PostStatusMessage(message); },
          .RecordSystemEvent =
              [this](const std::wstring& text) { logs_->Events().AddSystemEvent(text); },
          .RefreshSystemText = [this] { updates_.Refresh(gadget::LogoCanvas); },
          .CopyPanel = [this](int panel) { CopySystemOrProcessorsTab(panel); }};
}

void Application::StartMonitors() {
  // The sampler's status messages and its requests to draw the System tab's block again reach
  // the window thread through the update queue.
  updateApplier_.OnRefresh(gadget::StatusCanvas, [this] {
    ShowStatusMessage(ports_.Gui, fonts_, statusMessage_.Snapshot());
  });
  updateApplier_.OnRefresh(gadget::LogoCanvas, [this] {
    TakeLateProcessorAnswer();
    ShowSystemPanel();
  });
  PreparePanelCopies();
  threads_.StartMonitor(std::make_unique<SystemSampler>(
      stop_,
      SamplerSources{.Memory = ports_.Memory,
                     .Activity = ports_.Activity,
                     .Processors = ports_.Processors,
                     .Power = ports_.Power,
                     .Counters = ports_.Counters,
                     .Display = ports_.Display,
                     .Clock = ports_.Clock,
                     .Env = ports_.Env,
                     .Processor = [this] { return ProcessorFromSlots(); },
                     .Wait = [this](int milliseconds) { return stop_.WaitFor(milliseconds); },
                     .StartTask =
                         [this](std::function<void()> work) {
                           return threads_.StartTask(L"counter names rebuild", std::move(work));
                         },
                     .OwnProcess = [this]() -> std::optional<OwnProcessReading> {
                       if (!settings_.IsOn(opt::MetricsOn))
                         return std::nullopt;
                       return OwnProcessReadingOf(ports_.Process);
                     }},
      SystemSamplerTargets()));
  const PanelCopyServer serveCopy = [this](int panel, const PanelCopy::Builder& build) {
    return panelCopy_->Serve(panel, build);
  };
  storage_->Start(threads_, stop_, serveCopy);
  // The ping coordinator saves the ping list and then the events every hour.
  updateApplier_.OnRefresh(gadget::FileStatusCanvas, [this] { ShowFiles(); });
  ping_->Start(threads_, stop_, serveCopy, [this] { ShowFiles(); });
  network_->Start(threads_, stop_, serveCopy);
  gpu_->Start(threads_, stop_, fonts_.Gadget, serveCopy);
  cost_->Start(threads_, stop_, serveCopy);
  // A removal notice asks the storage monitor for a check of the drive set, while it runs.
  callback_->SetStorageRunning([this] { return threads_.IsAlive(StorageMonitor::kName); });
}

void Application::ReportFailedPasses() {
  threads_.OnPassFailed([this](const std::wstring& monitor, const std::wstring& what) {
    const std::wstring report = monitor + L" " + Tr(L"Failed") + L": " + what;
    PostStatusMessage(report);
    logs_->Log().LogLine(report);
  });
}

// Any thread: one line on the Processors tab's status canvas.
void Application::PostStatusMessage(const std::wstring& message) {
  *statusMessage_.Lock() = message;
  updates_.Refresh(gadget::StatusCanvas);
}

// The monitors publish their summaries from their threads; the chosen one shows on this thread,
// at once when the user chooses another mode.
void Application::ShowMiniTitleOfChosenMode() {
  titles_.OnChanged([this] { updates_.Refresh(gadget::MiniWindowTitle); });
  updateApplier_.OnRefresh(gadget::MiniWindowTitle, [this] { miniTitle_.Show(); });
  dispatcher_->Routes().On(gadget::TitleBarSelector, platform::GadgetAction::Change,
                           [this](const platform::GuiEvent&) {
                             miniTitle_.Show();
                             return LoopControl::Continue;
                           });
}

void Application::MinimizeAtStartIfAsked() {
  if (!settings_.IsOn(opt::StartMinimized))
    return;
  const bool toTray = settings_.IsOn(opt::MinimizeToTray) && tray_.IsShown();
  ports_.Gui.ShowWindow(gadget::MiniWindow,
                        toTray ? platform::ShowMode::Hide : platform::ShowMode::Minimize);
}

void Application::RunEventLoopGuarded() {
  try {
    RunEventLoop();
  } catch (...) {
    // Nothing more can be done for the windows; the state is saved and the log closed below.
  }
}

void Application::RunEventLoop() {
  while (settings_.Get(opt::QuitFlag) != 1) {
    const platform::GuiEvent event = ports_.Gui.WaitEvent(-1);
    if (event.Kind == platform::EventKind::Wake) {
      updateApplier_.ApplyPending();
      continue;
    }
    if (event.Kind == platform::EventKind::Timer &&
        updateApplier_.OnTimer(event.Window, event.Detail)) {
      continue;
    }
    if (event.Kind == platform::EventKind::Timer && event.Window == gadget::MiniWindow &&
        event.Detail == kPendingUpdatesTimer) {
      updateApplier_.ApplyPending();
      continue;
    }
    if (dispatcher_->Dispatch(event) == LoopControl::Exit)
      break;
    ShowGraphsOfNewTab();
  }
}

void Application::ShutDown() {
  platform::Gui& gui = ports_.Gui;
  gui.SetWindowTitle(gadget::MiniWindow,
                     Tr(L"Shutting Down") + L" Tarvik v" + std::wstring(kShortVersion));
  gui.SetMessageHandler(nullptr, gadget::MiniWindow);
  logs_->NoteStop();
  gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Hide);
  gui.ShowWindow(gadget::MiniWindow, platform::ShowMode::Hide);
  if (settings_.IsOn(opt::RememberPositions))
    SaveSettingsIfChanged();
  // Before the monitors stop: no scrape is served from readings that no longer change.
  metrics_->Stop();
  const int abandoned =
      threads_.StopAll([this](int milliseconds) { ports_.Clock.SleepMs(milliseconds); });
  tray_.Remove();
  // A thread that did not stop may still run inside a library: freeing it would crash the
  // process before the state files below are saved.
  if (abandoned == 0)
    ports_.Libraries.UnloadAll();
  ping_->SaveAtEnd();
  logs_->EndRun(system_text::Trimmed((*meters_.Lock())[kUptimeMeter].Text),
                callback_->SessionEnded());
  ports_.Instance.Release();
  gui.UnblockShutdown(gadget::MiniWindow);
  gui.CloseWindow(gadget::MainWindow);
  gui.CloseWindow(gadget::MiniWindow);
}

// A window laid out at another DPI lost what its canvases showed; its graphs now hold as many
// samples as their canvases are wide. The graphs of tabs out of view are drawn when they come
// into view, the ping list by the ping coordinator.
void Application::RedrawAfterRescale(int window) {
  platform::Gui& gui = ports_.Gui;
  if (window == gadget::MiniWindow) {
    miniWindow_.Rescale();
    miniClicks_->SetMetrics(miniWindow_.Metrics());
    return;
  }
  if (window != gadget::MainWindow)
    return;
  FitGraphsToCanvases(gui, graphs_);
  FitGpuGraphsToColumn(gui, graphs_, settings_);
  ShowSystemPanel();
  ShowStatusMessage(gui, fonts_, statusMessage_.Snapshot());
  ShowProcessorTimeSpan(gui, fonts_, settings_);
  ShowFiles();
  cost_->Show();
  settings_.Request(opt::PingRedrawRequest);
  lastShownTab_ = -1;
  ShowGraphsOfNewTab();
}

// A processor description that WMI gave only after start-up stopped waiting: the System tab
// shows it at once, and the sampler's System text refresh the Processors tab's description row.
void Application::TakeLateProcessorAnswer() {
  if (lateProcessor_.StoreInto(texts_))
    settings_.Request(opt::RereadSystemTextRequest);
}

// Any thread: the slots are written on the window thread only.
ProcessorDescription Application::ProcessorFromSlots() {
  return {texts_.Get(kProcessorMaxSpeedSlot), texts_.Get(kProcessorBrandSlot),
          texts_.Get(kProcessorNameSlot),     texts_.Get(kProcessorIdSlot),
          texts_.Get(kProcessorL2CacheSlot),  texts_.Get(kProcessorL3CacheSlot),
          texts_.Get(kProcessorCoresSlot)};
}

void Application::ShowSystemPanel() {
  SystemFacts facts;
  facts.ProcessorName = texts_.Get(kProcessorNameSlot);
  facts.LogicalProcessors = ports_.Env.LogicalProcessorCount();
  if (const auto memory = ports_.Memory.Status())
    facts.TotalPhysicalBytes = memory->TotalPhysical;
  if (const auto display = ports_.Display.Current()) {
    KeepReportedDesktop(settings_, DesktopModeOf(*display));
    facts.DisplayAdapter = display->Adapter;
    facts.DesktopWidth = display->Width;
    facts.DesktopHeight = display->Height;
    facts.ScalePercent = display->ScalePercent;
    facts.ColourDepth = display->ColourDepth;
    facts.RefreshRate = display->RefreshRate;
  }
  facts.OsName = texts_.Get(slot::OsDescription);
  facts.Build = settings_.Get(opt::OsBuildNumber);
  switch (ports_.System.Started()) {
    case platform::StartMode::SafeMode:
      facts.Safe = SafeMode::Minimal;
      break;
    case platform::StartMode::SafeModeWithNetwork:
      facts.Safe = SafeMode::WithNetwork;
      break;
    case platform::StartMode::Normal:
      break;
  }
  facts.ComputerName = ports_.System.ComputerName();
  facts.UserName = ports_.System.UserName();
  *systemBlock_.Lock() = SystemBlockText(facts);
  DrawSystemPanel(ports_.Gui, fonts_, facts);
}

// Made on the window thread before the sampler starts: the words in the user's language, the
// lists' column titles from the window (they never change).
void Application::PreparePanelCopies() {
  panelCopy_ = std::make_unique<PanelCopy>(
      settings_, stop_, threads_, updates_, ports_.Clipboard,
      PanelCopy::Words{Tr(L"Saving to Clipboard"), Tr(L"Saved to Clipboard"), Tr(L"Lines"),
                       Tr(L"Failed")});
  const auto titles = [this](int list) {
    std::vector<std::wstring> columns;
    for (const platform::ListColumn& column : ports_.Gui.ListColumns(list))
      columns.push_back(column.Title);
    return columns;
  };
  processorInfoTitles_ = titles(gadget::ProcessorInfoList);
  processorValueTitles_ = titles(gadget::ProcessorLoadList);
}

void Application::CopySystemOrProcessorsTab(int panel) {
  panelCopy_->Serve(panel, [&](std::atomic<int>&) {
    if (panel == gadget::SystemPanel)
      return SystemPanelCopy(systemBlock_.Snapshot(), List(gadget::SystemEventsList)->Rows());
    return ProcessorsPanelCopy({processorInfoTitles_, List(gadget::ProcessorInfoList)->Rows()},
                               {processorValueTitles_, List(gadget::ProcessorLoadList)->Rows()});
  });
}

void Application::ShowFiles() {
  ShowFileStatus(ports_.Gui, fonts_.Console8, paths_, settings_, ports_.Files, true);
}

}  // namespace tarvik
