#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "app/application.h"
#include "app/messages.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_network.h"
#include "fakes/fake_nvml.h"
#include "fakes/fake_own_process.h"
#include "fakes/fake_performance_counters.h"
#include "fakes/fake_ping.h"
#include "fakes/fake_system.h"
#include "fakes/fake_system_info.h"
#include "fakes/pixel_canvas.h"
#include "text/translation.h"
#include "text/utf8.h"
#include "ui/gadget_ids.h"
#include "ui/processor_captions.h"

namespace tarvik {
namespace {

using platform::EventKind;

class ApplicationTest : public ::testing::Test {
 protected:
  PlatformPorts Ports() {
    return {gui,      files,    environment, clock,  instance,  libraries, identity,
            versions, wmi,      display,     memory, clipboard, activity,  processors,
            power,    counters, drives,      icmp,   names,     network,   http,
            process};
  }

  fakes::FakeGui gui;
  fakes::FakeFileSystem files;
  fakes::FakeEnvironment environment;
  fakes::FakeClock clock;
  fakes::FakeSingleInstance instance;
  fakes::FakeLibraries libraries;
  fakes::FakeSystemIdentity identity;
  fakes::FakeVersionResources versions;
  fakes::FakeWmi wmi;
  fakes::FakeDisplay display;
  fakes::FakeMemory memory;
  fakes::FakeClipboard clipboard;
  fakes::FakeUserActivity activity;
  fakes::FakeProcessors processors;
  fakes::FakePowerSource power;
  fakes::FakePerformanceCounters counters;
  fakes::FakeDrives drives;
  fakes::FakeIcmpEchoes icmp;
  fakes::FakeNameLookup names;
  fakes::FakeNetwork network;
  fakes::FakeHttp http;
  fakes::FakeOwnProcess process;
};

TEST_F(ApplicationTest, ASecondCopyAnnouncesItselfAndTouchesNoFile) {
  instance.Answer = platform::InstanceLock::AlreadyRunning;
  environment.LangId = 0x0407;  // German
  gui.Events.push_back({EventKind::Timer, gadget::NoticeWindow, 0, 1, {}});
  Application application(Ports());
  EXPECT_EQ(application.Run(), 0);

  EXPECT_FALSE(files.Touched());
  ASSERT_EQ(gui.Broadcasts.size(), 1u);
  EXPECT_EQ(gui.Broadcasts[0], gui.MessageId(kActivateMessageName));
  EXPECT_EQ(gui.Timers[gadget::NoticeWindow], std::make_pair(1, 5000));
  EXPECT_EQ(gui.ClosedWindows, std::vector<int>{gadget::NoticeWindow});
  EXPECT_FALSE(gui.WindowExists(gadget::MainWindow));
  EXPECT_TRUE(gui.Events.empty());
}

TEST_F(ApplicationTest, TheSecondCopysNoticeSpeaksTheUsersLanguage) {
  instance.Answer = platform::InstanceLock::AlreadyRunning;
  for (const auto& [langId, text] :
       {std::pair{
            0x0407,
            L"\r\nDas Programm wird bereits ausgeführt.\r\nDas laufende Programm wird geöffnet."},
        std::pair{0x0809, L"\r\nProgram is already running.\r\nOpening current program."},
        std::pair{0x040C, L"\r\nProgram is already running.\r\nOpening current program."}}) {
    environment.LangId = langId;
    gui.Events.push_back({EventKind::Timer, gadget::NoticeWindow, 0, 1, {}});
    Application application(Ports());
    application.Run();
    EXPECT_EQ(gui.TextHistory[gadget::NoticeText], text) << std::hex << langId;
  }
}

TEST_F(ApplicationTest, ASecondCopysNoticeLastsUntilItsTimerHoweverBusyItIs) {
  instance.Answer = platform::InstanceLock::AlreadyRunning;
  // Dragging the notice makes many events; only its timer ends it.
  for (int move = 0; move < 100; ++move)
    gui.Events.push_back({EventKind::Move, gadget::NoticeWindow, 0, 0, {}});
  gui.Events.push_back({EventKind::Timer, gadget::NoticeWindow, 0, 1, {}});
  gui.Events.push_back({EventKind::Move, gadget::NoticeWindow, 0, 0, {}});
  Application application(Ports());
  application.Run();
  EXPECT_EQ(gui.Events.size(), 1u);
  EXPECT_EQ(gui.ClosedWindows, std::vector<int>{gadget::NoticeWindow});

  // A timer that never fires cannot keep the second copy alive.
  gui.Events.clear();
  gui.ExitWindow = 0;
  gui.OnWait = [&] { clock.Tick += 250; };
  Application stuck(Ports());
  stuck.Run();
  EXPECT_LE(clock.Tick, 1'000 + 10'250 + 50);
}

TEST_F(ApplicationTest, ASecondCopyTellsTheRunningOneEvenWhenItsNoticeCannotOpen) {
  instance.Answer = platform::InstanceLock::AlreadyRunning;
  gui.RefusedWindows.insert(gadget::NoticeWindow);
  Application application(Ports());
  application.Run();
  EXPECT_EQ(gui.Broadcasts, std::vector<uint32_t>{gui.MessageId(kActivateMessageName)});
  EXPECT_FALSE(files.Touched());
}

// A copy running elevated can deny this one access to the mutex: that is another copy running,
// not a reason to start a second one that writes the same files.
TEST_F(ApplicationTest, AMutexThatCannotBeHadMeansAnotherCopyRuns) {
  instance.Answer = platform::InstanceLock::Failed;
  gui.Events.push_back({EventKind::Timer, gadget::NoticeWindow, 0, 1, {}});
  Application application(Ports());
  application.Run();
  EXPECT_FALSE(files.Touched());
  EXPECT_FALSE(gui.WindowExists(gadget::MainWindow));
  EXPECT_EQ(gui.Broadcasts.size(), 1u);
}

TEST_F(ApplicationTest, StartsBothWindowsAndTheTrayThenShutsDownInOrder) {
  gui.Events.push_back({EventKind::Shortcut, gadget::MainWindow, 0, 0, {}});
  Application application(Ports());
  EXPECT_EQ(application.Run(), 0);

  EXPECT_EQ(instance.Name, L"Tarvik");
  EXPECT_FALSE(instance.Held);  // released at the end
  // Both windows were opened and closed again, main first.
  const std::vector<int> closed = gui.ClosedWindows;
  ASSERT_GE(closed.size(), 3u);
  EXPECT_EQ(closed[closed.size() - 2], gadget::MainWindow);
  EXPECT_EQ(closed.back(), gadget::MiniWindow);
  EXPECT_FALSE(gui.TrayShown);
  EXPECT_EQ(gui.TrayAdds, 1);
  EXPECT_EQ(gui.TrayTip, L"Tarvik v2.33 x64 426.9423");
  EXPECT_TRUE(libraries.Loaded.empty());
  EXPECT_EQ(gui.Handler, nullptr);
}

TEST_F(ApplicationTest, WhileRunningBothWindowsShowAndThePathsAreBuilt) {
  bool bothVisible = false;
  gui.OnWait = [&] {
    bothVisible =
        gui.IsWindowVisible(gadget::MainWindow) && gui.IsWindowVisible(gadget::MiniWindow);
  };
  Application application(Ports());
  application.Run();

  EXPECT_TRUE(bothVisible);
  EXPECT_EQ(application.SharedSettings().Get(opt::ProcessorCount), 8);
  const Paths paths = application.SharedPaths().Snapshot();
  EXPECT_EQ(paths.ProgramFolder, L"C:\\Tools\\Tarvik\\");
  EXPECT_EQ(paths.DataFolder, L"C:\\Users\\ann\\AppData\\Roaming\\Brimhold\\");
  EXPECT_EQ(paths.LogFileName, L"TK202403.log");
  EXPECT_EQ(paths.SagaStatePath, L"C:\\Users\\ann\\AppData\\Roaming\\Brimhold\\TK-Saga.json");
  const std::wstring progress = gui.TextHistory[gadget::ProgressText];
  EXPECT_EQ(progress.rfind(L"1-Language: English", 0), 0u);
  EXPECT_NE(progress.find(L"\r\n6-Loading: Events"), std::wstring::npos);
}

TEST_F(ApplicationTest, OnAGermanSystemTheProgressLinesAreGerman) {
  environment.LangId = 0x0407;
  Application application(Ports());
  application.Run();
  LoadTranslations(kEnglish);  // for the tests that follow

  const std::wstring progress = gui.TextHistory[gadget::ProgressText];
  EXPECT_EQ(progress.rfind(L"1-Sprache: Deutsch\r\n", 0), 0u) << ToUtf8(progress);
  EXPECT_NE(progress.find(L"\r\n3-Wird geladen: PC-Hardware"), std::wstring::npos);
  EXPECT_EQ(application.SharedPaths().Snapshot().Files[kPingStateEntry].Status,
            L"Keine, keine aktiven Ping-Daten.");
}

TEST_F(ApplicationTest, TheSystemTabNamesTheMachine) {
  Application application(Ports());
  application.Run();
  std::wstring shown;
  for (const auto& drawn : gui.TextHistoryOfCanvas(gadget::LogoCanvas))
    shown += drawn + L"|";
  EXPECT_NE(shown.find(L"Tarvik|2.33|"), std::wstring::npos) << shown;
  EXPECT_NE(shown.find(L"Memory: 16384M (16.00G)"), std::wstring::npos) << shown;
  EXPECT_NE(shown.find(L"Wine Adapter (1280 x 800, Text Size 100%, 32-bit Color, 60Hz)"),
            std::wstring::npos)
      << shown;
  EXPECT_NE(shown.find(L"Computer Name: DESK-7, User Name: ann"), std::wstring::npos) << shown;
}

TEST_F(ApplicationTest, RefreshOnTheSystemTabReadsTheMachineAgain) {
  Application application(Ports());
  gui.OnWait = [&] {
    identity.Computer = L"RENAMED-PC";
    gui.Events.push_back(
        {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::Refresh), {}});
    gui.OnWait = nullptr;
  };
  application.Run();
  std::wstring shown;
  for (const auto& drawn : gui.TextHistoryOfCanvas(gadget::LogoCanvas))
    shown += drawn;
  EXPECT_NE(shown.find(L"Computer Name: DESK-7"), std::wstring::npos);
  EXPECT_NE(shown.find(L"Computer Name: RENAMED-PC"), std::wstring::npos);
}

// The system's name and build and the processor's description are read once, at start; a
// refresh of the System tab asks again only what can change while the program runs.
TEST_F(ApplicationTest, RefreshesOfTheSystemTabAskNothingThatCannotHaveChanged) {
  versions.Files[L"C:\\Windows\\system32\\kernel32.dll"] = {
      {{0x0409, 0x04B0}}, {{L"\\StringFileInfo\\040904B0\\ProductVersion", L"10.0.22631.1"}}};
  platform::OsVersionRecord kernel;
  kernel.Major = 10;
  kernel.Build = 22631;
  kernel.PlatformId = platform::kPlatformNt;
  kernel.ProductType = 1;
  identity.Kernel = kernel;
  for (const int refreshes : {0, 1, 3}) {
    versions.Opens = 0;
    identity.KernelQueries = 0;
    wmi.Asked.clear();
    identity.Computer = L"DESK-7";
    gui.ClosedCanvases.clear();
    Application application(Ports());
    gui.OnWait = [&] {
      identity.Computer = L"RENAMED-PC";
      for (int refresh = 0; refresh < refreshes; ++refresh)
        gui.Events.push_back(
            {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::Refresh), {}});
      gui.OnWait = nullptr;
    };
    application.Run();
    EXPECT_EQ(versions.Opens, 1) << refreshes;
    EXPECT_EQ(identity.KernelQueries, 1) << refreshes;
    EXPECT_EQ(wmi.Asked.size(), 1u) << refreshes;
    std::wstring shown;
    for (const auto& drawn : gui.TextHistoryOfCanvas(gadget::LogoCanvas))
      shown += drawn;
    EXPECT_NE(shown.find(L"Windows 11 (23H2)"), std::wstring::npos) << refreshes;
    // What can change is asked again at every refresh.
    if (refreshes > 0) {
      EXPECT_NE(shown.find(L"Computer Name: RENAMED-PC"), std::wstring::npos) << refreshes;
    }
  }
}

TEST_F(ApplicationTest, GraphsAreDrawnOnlyOnceTheirTabComesIntoView) {
  Application application(Ports());
  size_t drawnBefore = 0;
  std::wstring drawnAfter;
  int step = 0;
  gui.OnWait = [&] {
    if (step++ == 0) {
      drawnBefore = gui.TextHistoryOfCanvas(400).size();
      EXPECT_NE(gui.TextHistoryOfCanvas(gadget::PhysicalGraph).size(), 0u);
      gui.Events.push_back(
          {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::NextPanel), {}});
      return;
    }
    for (const std::wstring& text : gui.TextHistoryOfCanvas(400))
      drawnAfter += text;
    gui.OnWait = nullptr;  // the last thing this handler does: it is gone afterwards
  };
  application.Run();
  // The System tab shows at start: its graphs are drawn, the processors' not until their tab
  // comes into view, then with their labels.
  EXPECT_EQ(drawnBefore, 0u);
  EXPECT_NE(drawnAfter.find(L"CPU 0"), std::wstring::npos);
}

// Laid out at 144 DPI (moved to a monitor of 150 %), the windows draw again at their new sizes:
// a graph keeps one sample per pixel column of its wider canvas, the Processors caption counts
// those columns, the logo and the file panel are drawn again, and the mini window's cells are
// measured in the larger font and the window fitted around them.
TEST_F(ApplicationTest, RescaledWindowsAreDrawnAgainAtTheirNewSize) {
  Application application(Ports());
  int step = 0;
  int graphCapacity = 0;
  int processorWidth = 0;
  std::wstring caption;
  std::vector<std::wstring> logo;
  std::vector<std::wstring> fileStatus;
  platform::Size miniBefore;
  platform::Size miniAfter;
  gui.OnWait = [&] {
    if (step++ == 0) {
      miniBefore = gui.CanvasExtent(gadget::MiniCanvas);
      gui.Rescale(gadget::MainWindow, 144);
      gui.Rescale(gadget::MiniWindow, 144);
      return;
    }
    if (!gui.Events.empty())
      return;  // both windows' news handled first
    graphCapacity = application.Graphs().Snapshot(gadget::PhysicalGraph)->Capacity;
    processorWidth = gui.CanvasExtent(400).Width;
    for (const std::wstring& text : gui.TextHistoryOfCanvas(gadget::TimeSpanCanvas))
      caption += text;
    logo = gui.TextHistoryOfCanvas(gadget::LogoCanvas);
    fileStatus = gui.TextHistoryOfCanvas(gadget::FileStatusCanvas);
    miniAfter = gui.CanvasExtent(gadget::MiniCanvas);
    gui.OnWait = nullptr;
  };
  application.Run();
  EXPECT_EQ(graphCapacity, 851);  // 567 base units at 150 %
  EXPECT_GT(processorWidth, 0);
  EXPECT_EQ(caption, ProcessorTimeSpanCaption(processorWidth));
  EXPECT_NE(std::find(logo.begin(), logo.end(), L"Tarvik"), logo.end());
  EXPECT_FALSE(fileStatus.empty());
  // 2 + 29 columns of 7 pixels at 96 DPI; at 144 the font makes a column 11 pixels wide.
  EXPECT_EQ(miniBefore.Width, 2 + 29 * 7);
  EXPECT_EQ(miniAfter.Width, 2 + 29 * 11);
}

// Ctrl+C on the System tab: the block and the events (the program notes its own start there) go
// to the clipboard in CR LF lines, the title tells how many, and the title returns when the
// message's time runs out.
TEST_F(ApplicationTest, CopyingTheSystemTabPutsItOnTheClipboardAndSaysSo) {
  Application application(Ports());
  std::vector<std::wstring> titles;
  int step = 0;
  gui.OnWait = [&] {
    switch (step) {
      case 0:
        gui.Events.push_back(
            {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::CopyPanel), {}});
        step = 1;
        break;
      case 1:
        if (application.SharedSettings().Get(opt::CopyRequest) != gadget::SystemPanel)
          break;  // the shortcut is still to come
        // The system sampler serves the copy at the end of its pass, on its own thread.
        for (int waited = 0; !clipboard.HasText() && waited < 5'000; ++waited)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // The progress helper reports once the copy ended; its last word wakes the loop.
        while (application.Threads().IsAlive(L"clipboard progress"))
          std::this_thread::yield();
        step = 2;
        break;
      case 2:
        titles.push_back(gui.WindowTitle(gadget::MainWindow));
        gui.Events.push_back({EventKind::Timer, gadget::MainWindow, 0, 2, {}});
        step = 3;
        break;
      default:
        titles.push_back(gui.WindowTitle(gadget::MainWindow));
        gui.OnWait = nullptr;
        break;
    }
  };
  application.Run();
  ASSERT_EQ(clipboard.Placed.size(), 1u);
  // The list itself showed the model's rows: the sampler's first events above the line added.
  const std::vector<std::wstring> shown = gui.TextHistoryOfList(gadget::SystemEventsList);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"03-09  14:05:07 - Batt:None",
                                              L"03-09  14:05:07 - Page Memory: 20.0G",
                                              L"03-09  14:05:07 - Phys Memory: 16.0G",
                                              L"03-09  14:05:07 - Tarvik v2.33 started"}));
  const std::wstring& copied = clipboard.Placed[0];
  EXPECT_EQ(copied.rfind(L"AMD EPYC", 0), std::wstring::npos);  // the fake WMI names nothing
  EXPECT_NE(copied.find(L"Computer Name: DESK-7, User Name: ann\r\n\r\n03-09  14:05:07 - "
                        L"Batt:None\r\n"),
            std::wstring::npos)
      << copied;
  EXPECT_TRUE(copied.ends_with(L"Phys Memory: 16.0G\r\n03-09  14:05:07 - Tarvik v2.33 started\r\n"))
      << copied;
  EXPECT_EQ(application.SharedSettings().Get(opt::CopyRequest), -1);
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0], L"Saved to Clipboard: 8 Lines");
  EXPECT_EQ(titles[1], L"Tarvik v2.33 x64 426.9423");
}

// The fake library as the loader hands it over.
class FakeNvmlLibrary : public platform::NvmlLibrary {
 public:
  [[nodiscard]] const platform::nvml::Functions& Functions() const override { return functions_; }

 private:
  platform::nvml::Functions functions_ = fakes::FakeNvmlFunctions();
};

// On the Graphics tab with two cards, the second of which falls off the bus: the temperature
// graph shows the chosen card's temperature and reads out in degrees under the mouse, and the
// tab's copy has each summary on one line with its columns apart by tabs, the loss among them.
TEST_F(ApplicationTest, TheGraphicsTabShowsTheTemperatureAndCopiesALostCardOnOneLine) {
  fakes::ResetFakeNvml();
  fakes::FakeNvml().DriverVersion = "551.23";
  fakes::FakeNvml().Gpus = {fakes::WorkingFakeGpu(), fakes::WorkingFakeGpu()};
  fakes::FakeNvml().Gpus[1].LostAfterReadings = 2;
  Application application(Ports());
  application.UseNvml([] { return std::make_unique<FakeNvmlLibrary>(); });
  const auto historyLength = [&application] {
    return application.Graphs()
        .Samples(application.SharedSettings().Get(opt::FirstGpuGraph))
        .size();
  };
  std::wstring readout;
  int step = 0;
  int waits = 0;
  gui.OnWait = [&] {
    const auto push = [this](EventKind kind, int gadget, int detail, int x = 0) {
      gui.Events.push_back({kind, gadget::MainWindow, gadget, detail, {x, 10}});
    };
    push(EventKind::Wake, 0, 0);  // the loop goes on while the monitor works
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    switch (step) {
      case 0:  // seconds pass until the card is lost and the graphs have samples
        clock.Now += 1;
        if (historyLength() >= 3) {
          push(EventKind::Shortcut, 0, static_cast<int>(Command::NextPanel));
          push(EventKind::Shortcut, 0, static_cast<int>(Command::NextPanel));
          step = 1;
        }
        break;
      case 1:
        push(EventKind::Gadget, gadget::GpuTemperatureGraph,
             static_cast<int>(platform::GadgetAction::MouseMove),
             gui.CanvasExtent(gadget::GpuTemperatureGraph).Width - 1);
        step = 2;
        break;
      case 2:  // the read-out shows as a title message once the window thread applies it
        readout = gui.WindowTitle(gadget::MainWindow);
        if (readout.starts_with(L"Position") || ++waits > 1'000) {
          push(EventKind::Shortcut, 0, static_cast<int>(Command::CopyPanel));
          step = 3;
        }
        break;
      case 3:
        if (clipboard.HasText() || ++waits > 3'000)
          step = 4;
        break;
      default:
        while (application.Threads().IsAlive(L"clipboard progress"))
          std::this_thread::yield();
        gui.Events.clear();
        gui.OnWait = nullptr;  // the loop ends with the next wait
        break;
    }
  };
  application.Run();
  EXPECT_TRUE(readout.starts_with(L"Position: 1/")) << readout;
  EXPECT_TRUE(readout.ends_with(L"  43C")) << readout;
  const std::vector<std::wstring> drawn = gui.TextHistoryOfCanvas(gadget::GpuTemperatureGraph);
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), L"GPU Temperature"), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), L"43C"), drawn.end());
  // In the colours of the card's other graphs.
  GraphStore& graphs = application.Graphs();
  EXPECT_EQ(graphs.Snapshot(gadget::GpuTemperatureGraph)->Line,
            graphs.Snapshot(application.SharedSettings().Get(opt::FirstGpuGraph))->Line);
  ASSERT_EQ(clipboard.Placed.size(), 1u);
  const std::wstring& copied = clipboard.Placed[0];
  EXPECT_NE(copied.find(L" - G0\t37%  1500MHz\t12%  5000MHz  1024M\t43C\t41%\tP2 120W\r\n"),
            std::wstring::npos)
      << copied;
  EXPECT_NE(copied.find(L" - G1\t#15\tGPU lost\r\n"), std::wstring::npos) << copied;
  EXPECT_NE(copied.find(L"[1] Fake Card  GPU lost (15)\r\n"), std::wstring::npos) << copied;
  for (size_t at = copied.find(L'\n'); at != std::wstring::npos; at = copied.find(L'\n', at + 1))
    EXPECT_EQ(copied[at - 1], L'\r') << at;
}

// A settings file with the given flags on (positions 1-26 of the packed option string).
std::string SettingsFileWithFlags(std::initializer_list<int> flagsOn,
                                  const std::string& extra = "") {
  std::string flags(26, '0');
  for (const int option : flagsOn)
    flags[static_cast<size_t>(option - opt::FirstFlag)] = '1';
  return "\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = " + flags + "800" + std::string(21, '0') + "\r\n" +
         extra;
}

const std::wstring kPortableIni = L"C:\\Tools\\Tarvik\\Tarvik.ini";

TEST_F(ApplicationTest, StartMinimizedFromTheSettingsFileKeepsBothWindowsOutOfSight) {
  files.Files[kPortableIni] =
      SettingsFileWithFlags({opt::StartMinimized, opt::TrayIconEnabled, opt::MinimizeToTray});
  bool anyVisible = true;
  gui.OnWait = [&] {
    anyVisible = gui.IsWindowVisible(gadget::MainWindow) || gui.IsWindowVisible(gadget::MiniWindow);
  };
  Application application(Ports());
  application.Run();
  EXPECT_FALSE(anyVisible);
  EXPECT_TRUE(application.SharedSettings().IsOn(opt::PortableMode));
  EXPECT_EQ(application.SharedPaths().Snapshot().DataFolder, L"C:\\Tools\\Tarvik\\");
}

TEST_F(ApplicationTest, APortableFileKeepsTheWindowPositionsAcrossARun) {
  files.Files[kPortableIni] =
      SettingsFileWithFlags({opt::RememberPositions}, "Digits = v120w130x400y300\r\n");
  gui.OnWait = [&] {
    if (gui.Windows[gadget::MainWindow].Bounds.X != 120)
      return;
    gui.MoveWindow(gadget::MainWindow, {150, 160});  // the user drags it
    gui.Events.push_back({EventKind::Move, gadget::MainWindow, 0, 0, {}});
  };
  Application application(Ports());
  application.Run();
  const std::string written = files.Files[kPortableIni];
  EXPECT_NE(written.find("Digits = v150w160x400y300\r\n"), std::string::npos) << written;
}

TEST_F(ApplicationTest, ClosingTheMainWindowTwiceWritesTheSettingsOnceAtMost) {
  files.Files[kPortableIni] = SettingsFileWithFlags({});
  gui.Events.push_back({EventKind::Close, gadget::MainWindow, 0, 0, {}});
  gui.Events.push_back({EventKind::Close, gadget::MainWindow, 0, 0, {}});
  Application application(Ports());
  application.Run();
  EXPECT_EQ(std::count(files.Changes.begin(), files.Changes.end(), L"write " + kPortableIni), 0);

  files.Changes.clear();
  gui.Events.push_back(
      {EventKind::Shortcut, gadget::MiniWindow, 0, static_cast<int>(Command::NudgeLeft), {}});
  gui.Events.push_back({EventKind::Close, gadget::MainWindow, 0, 0, {}});
  gui.Events.push_back({EventKind::Close, gadget::MainWindow, 0, 0, {}});
  // Keyboard moves change no stored option unless positions are kept; sound is one that counts.
  Application second(Ports());
  gui.OnWait = [&] { second.SharedSettings().Set(opt::SoundEnabled, 1); };
  second.Run();
  EXPECT_EQ(std::count(files.Changes.begin(), files.Changes.end(), L"write " + kPortableIni), 1);
}

// The graphs are built before the settings file is read: they take its colours once it has been
// read, and again after an import. Closing the main window drops an open log-folder edit.
TEST_F(ApplicationTest, GraphColoursOfTheFileShowAtStartAndAfterAnImport) {
  files.Files[kPortableIni] = SettingsFileWithFlags({}, "ColorBar = 123\r\nColorCPU = 456\r\n");
  files.Files[L"E:\\other.ini"] = SettingsFileWithFlags({}, "ColorBar = $789\r\n");
  gui.NextDialogAnswer = L"E:\\other.ini";
  const auto click = [](int id) {
    return platform::GuiEvent{EventKind::Gadget,
                              gadget::MainWindow,
                              id,
                              static_cast<int>(platform::GadgetAction::Click),
                              {}};
  };
  gui.Events = {click(gadget::ImportButton),
                click(gadget::LogSetButton),
                {EventKind::Close, gadget::MainWindow, 0, 0, {}}};
  Application application(Ports());
  std::vector<std::vector<Colour>> seen;
  std::wstring field;  // the log folder field as the loop last waited, read-only or not
  gui.OnWait = [&] {
    field = (gui.Gadgets[gadget::LogFolderField].ReadOnly ? L"read-only " : L"") +
            gui.GadgetText(gadget::LogFolderField);
    std::vector<Colour> lines;
    for (const int graph : {301, 302, 400})
      lines.push_back(application.Graphs().Snapshot(graph)->Line);
    if (seen.size() < 2)
      seen.push_back(lines);
  };
  application.Run();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::vector<Colour>{0x123, 0xCC3399, 0x456}));
  EXPECT_EQ(seen[1], (std::vector<Colour>{0x3C14DC, 0x789, seen[1][2]}));
  EXPECT_NE(seen[1][2], 0x456u);
  EXPECT_EQ(field, L"read-only C:\\Tools\\Tarvik\\*.*");
}

TEST_F(ApplicationTest, ShutDownRunsItsStepsInOrder) {
  files.Files[kPortableIni] = SettingsFileWithFlags({opt::RememberPositions, opt::TrayIconEnabled});
  fakes::Trace steps;
  gui.OnWait = [&] {
    // Only what shut-down does is traced; it starts when the loop has ended.
    gui.Steps = &steps;
    files.Steps = &steps;
    libraries.Steps = &steps;
    instance.Steps = &steps;
    gui.Events.push_back({EventKind::Close, gadget::MiniWindow, 0, 0, {}});
    gui.OnWait = nullptr;
  };
  Application application(Ports());
  gui.Events.push_back(
      {EventKind::Shortcut, gadget::MiniWindow, 0, static_cast<int>(Command::NudgeLeft), {}});
  application.Run();
  const fakes::Trace expected = {"title 100",        "remove callback",  "hide 101",
                                 "hide 100",         "write Tarvik.ini", "remove tray",
                                 "unload libraries", "release mutex",    "unblock 100",
                                 "close 101",        "close 100"};
  EXPECT_EQ(steps, expected);
  // The flag counted the waits for the sampler to stop; it stopped well before the last one.
  EXPECT_GE(application.SharedSettings().Get(opt::StopFlag), 1);
  EXPECT_LT(application.SharedSettings().Get(opt::StopFlag), MonitorThreads::kMaxStopWaits);
}

TEST_F(ApplicationTest, WithoutRememberedPositionsTheExitSavesNothing) {
  files.Files[kPortableIni] = SettingsFileWithFlags({});
  gui.Events.push_back(
      {EventKind::Shortcut, gadget::MiniWindow, 0, static_cast<int>(Command::NudgeLeft), {}});
  Application application(Ports());
  gui.OnWait = [&] { application.SharedSettings().Set(opt::SoundEnabled, 1); };
  application.Run();
  EXPECT_EQ(std::count(files.Changes.begin(), files.Changes.end(), L"write " + kPortableIni), 0);
}

TEST_F(ApplicationTest, EachMissingLibraryClearsOnlyItsOwnFlag) {
  using platform::OptionalLibrary;
  const std::pair<OptionalLibrary, int> flags[] = {
      {OptionalLibrary::Power, opt::PowerLibraryPresent},
      {OptionalLibrary::NetworkProvider, opt::NetProviderLibraryPresent},
      {OptionalLibrary::IpHelper, opt::IpHelperLibraryPresent},
      {OptionalLibrary::PerformanceData, opt::PdhLibraryPresent},
      {OptionalLibrary::Dns, opt::DnsLibraryPresent}};
  for (const auto& [missing, missingFlag] : flags) {
    libraries.Missing = {missing};
    int flagsSeen[Settings::kCount] = {};
    Application application(Ports());
    gui.OnWait = [&] {
      for (const auto& [library, flag] : flags)
        flagsSeen[flag] = application.SharedSettings().Get(flag);
    };
    application.Run();
    for (const auto& [library, flag] : flags)
      EXPECT_EQ(flagsSeen[flag], flag == missingFlag ? 0 : 1) << "flag " << flag;
  }
}

TEST_F(ApplicationTest, TheQuitMessageAndTheSessionEndBothEndTheLoop) {
  for (const bool sessionEnd : {false, true}) {
    Application application(Ports());
    gui.Events.clear();
    for (int key = 0; key < 2; ++key) {
      gui.Events.push_back(
          {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::NextPanel), {}});
    }
    gui.OnWait = [&] {
      if (sessionEnd) {
        gui.SendSystemMessage({platform::SystemMessageKind::EndSession, 0, 0});
      } else {
        gui.SendSystemMessage(
            {platform::SystemMessageKind::Registered, gui.MessageId(kDeactivateMessageName), 0});
      }
      gui.OnWait = nullptr;
    };
    application.Run();
    // The loop ended on the flag, with the wait it was in: the second key was never taken.
    EXPECT_EQ(gui.Events.size(), 1u) << sessionEnd;
    EXPECT_EQ(application.SharedSettings().Get(opt::QuitFlag), 1);
  }
}

TEST_F(ApplicationTest, AQuitRequestWhileStartingEndsTheProgramOnceStarted) {
  gui.Events.push_back(
      {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::NextPanel), {}});
  bool sent = false;
  // The settings are read while the progress window shows: the quit message comes then.
  files.OnRead = [&](const std::wstring&) {
    if (sent)
      return;
    sent = true;
    gui.SendSystemMessage(
        {platform::SystemMessageKind::Registered, gui.MessageId(kDeactivateMessageName), 0});
  };
  Application application(Ports());
  application.Run();
  EXPECT_TRUE(sent);
  EXPECT_EQ(application.SharedSettings().Get(opt::QuitFlag), 1);
  EXPECT_EQ(gui.Events.size(), 1u);
  EXPECT_TRUE(gui.WindowExists(gadget::MiniWindow) == false);
}

// The sampler's own thread reports cells, samples and readings while this thread, the window
// thread, redraws the mini window, switches tabs (drawing their graphs from the readings) and
// applies the queued updates. At the end the mini window shows what the sampler last reported.
TEST_F(ApplicationTest, TheSamplersThreadReportsWhileTheWindowThreadDrawsAndApplies) {
  Application application(Ports());
  int waits = 0;
  gui.OnWait = [&] {
    clock.Now += 1;  // a new second at every wait: uptime and idle have new texts to show
    clock.Tick += 1'000;
    application.WindowUpdates().Refresh(gadget::MiniWindow);
    gui.Events.push_back(
        {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::NextPanel), {}});
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    if (++waits == 250)
      gui.OnWait = nullptr;  // the loop ends with the next wait
  };
  application.Run();
  const MeterRecord uptime = (*application.Meters().Lock())[kUptimeMeter];
  const std::wstring last =
      (uptime.Label + uptime.Text).substr(0, static_cast<size_t>(uptime.Width));
  std::vector<std::wstring> shown;
  for (const std::wstring& text : gui.TextHistoryOfCanvas(gadget::MiniCanvas)) {
    if (text.starts_with(uptime.Label) && (shown.empty() || shown.back() != text))
      shown.push_back(text);
  }
  ASSERT_GE(shown.size(), 5u);
  EXPECT_EQ(shown.back(), last);
}

// Whatever escapes the event loop, the events are saved and the log closed on the way out.
TEST_F(ApplicationTest, AFailureInTheEventLoopStillRunsTheShutDown) {
  files.Files[kPortableIni] = SettingsFileWithFlags({opt::RestoreEvents});
  gui.OnWait = [] { throw std::runtime_error("window gone"); };
  Application application(Ports());
  application.Run();
  EXPECT_EQ(files.Files.count(L"C:\\Tools\\Tarvik\\TK-Saga.json"), 1u);
  EXPECT_FALSE(instance.Held);
  EXPECT_FALSE(application.Threads().AnyAlive());
}

// Choosing another "Title Bar Text" shows that mode's summary at once.
TEST_F(ApplicationTest, ChoosingATitleModeShowsItsSummaryAtOnce) {
  Application application(Ports());
  std::wstring shown;
  gui.OnWait = [&] {
    application.Titles().Publish(5, L"2h 15m Uptime");
    gui.Events.push_back({EventKind::Gadget,
                          gadget::MainWindow,
                          gadget::TitleBarSelector,
                          static_cast<int>(platform::GadgetAction::Change),
                          {}});
    gui.SelectItem(gadget::TitleBarSelector, 5);
    gui.OnWait = [&] {
      shown = gui.WindowTitle(gadget::MiniWindow);
      gui.OnWait = nullptr;
    };
  };
  application.Run();
  EXPECT_EQ(shown, L"2h 15m Uptime");
}

// Choosing another size unit on the Storage tab shows the drive changes in it from then on and
// keeps the drives' total changes: it is not a reset.
TEST_F(ApplicationTest, ChoosingAStorageUnitKeepsTheTotalChanges) {
  constexpr int64_t kMiB = 1'048'576;
  drives.Letters[L'C'].Volume = platform::VolumeInformation{L"System", 0x1234ABCD, L"NTFS", 255};
  drives.Letters[L'C'].Space = platform::DriveSpace{50 * 1024 * kMiB, 100 * 1024 * kMiB};
  Application application(Ports());
  // The drive-change line that shows this total change, or "".
  const auto lineWith = [&](const std::wstring& totalChange) {
    for (const std::wstring& row : gui.TextHistoryOfList(gadget::DriveList)) {
      if (row.find(L"\n" + totalChange + L"\n") != std::wstring::npos)
        return row;
    }
    return std::wstring();
  };
  std::wstring before, after;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int step = 0;
  gui.OnWait = [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (step == 0 && (*application.Meters().Lock())[kFirstDriveMeter + 2].Active) {  // C:
      drives.Written = 2 * kMiB;
      step = 1;
    } else if (step == 1 && !(before = lineWith(L"-2048K")).empty()) {
      gui.Events.push_back({EventKind::Gadget,
                            gadget::MainWindow,
                            gadget::StorageUnitSelector,
                            static_cast<int>(platform::GadgetAction::Change),
                            {}});
      gui.SelectItem(gadget::StorageUnitSelector, 3);  // MB
      step = 2;
    } else if (step == 2 && application.SharedSettings().Get(opt::StorageUnit) == 3) {
      drives.Written = 3 * kMiB;
      step = 3;
    } else if (step == 3 && !(after = lineWith(L"-3.0M")).empty()) {
      step = 4;
    }
    if (step < 4 && std::chrono::steady_clock::now() < deadline)
      gui.Events.push_back({EventKind::Wake, 0, 0, 0, {}});  // the loop goes on
  };
  application.Run();
  EXPECT_EQ(before, L"03-09  14:05:07 - C:\n49%  50.0G\n-2048K\n-2048K\n51%  50.0G");
  EXPECT_EQ(after, L"03-09  14:05:07 - C:\n49%  51197.0M\n-1.0M\n-3.0M\n51%  51203.0M");
}

// Something reading the paths while the settings file is read must not have to wait for it.
TEST_F(ApplicationTest, ThePathsStayUnlockedWhileTheSettingsAreRead) {
  Application application(Ports());
  std::atomic<int> blockedReads{0};
  std::vector<std::thread> readers;
  files.OnRead = [&](const std::wstring&) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    // Joined after the run: a reader held up here is only released once the file was read.
    readers.emplace_back([&application, done] {
      static_cast<void>(application.SharedPaths().Snapshot());
      *done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!*done && std::chrono::steady_clock::now() < deadline)
      std::this_thread::yield();
    if (!*done)
      ++blockedReads;
  };
  application.Run();
  for (std::thread& reader : readers)
    reader.join();
  EXPECT_EQ(blockedReads.load(), 0);
}

// A thread that did not stop may still run inside a library: the libraries stay loaded then.
TEST_F(ApplicationTest, LibrariesStayLoadedWhileAnAbandonedThreadMayUseThem) {
  static std::atomic<bool> hold{true};
  static std::atomic<bool> running{false};
  {
    Application application(Ports());
    gui.OnWait = [&] {
      ASSERT_TRUE(application.Threads().StartTask(L"stuck", [] {
        running = true;
        while (hold.load())
          std::this_thread::yield();
      }));
      while (!running.load())
        std::this_thread::yield();
      gui.OnWait = nullptr;
    };
    application.Run();
    EXPECT_FALSE(libraries.Loaded.empty());
    hold = false;
    while (application.Threads().AnyAlive())
      std::this_thread::yield();
  }
  Application calm(Ports());
  calm.Run();
  EXPECT_TRUE(libraries.Loaded.empty());
}

// Keeps the event loop turning while the monitors' threads work, until `done` holds or 20 s
// passed; `done` runs on the window thread.
void TurnUntil(fakes::FakeGui& gui, std::function<bool()> done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  gui.OnWait = [&gui, done = std::move(done), deadline] {
    if (done() || std::chrono::steady_clock::now() > deadline) {
      gui.OnWait = nullptr;  // the last thing this handler does: it is gone afterwards
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    gui.Events.push_back({EventKind::Wake, 0, 0, 0, {}});
  };
}

bool CanvasShows(const fakes::FakeGui& gui, int canvas, const std::wstring& text) {
  const std::vector<std::wstring> drawn = gui.TextHistoryOfCanvas(canvas);
  return std::any_of(drawn.begin(), drawn.end(),
                     [&](const std::wstring& t) { return t.find(text) != std::wstring::npos; });
}

// An adapter sending 3 KB and receiving 7 KB a sample: on the Networks tab the sending graph's
// title shows the first, the receiving graph's the second.
TEST_F(ApplicationTest, EachNetworkGraphIsTitledWithItsOwnDirection) {
  files.Files[kPortableIni] = SettingsFileWithFlags({opt::RealTimeNetwork});
  network.AddAdapter(L"Wired", 12, 10'000);
  network.SentPerRead = 3 * 1024;
  network.ReceivedPerRead = 7 * 1024;
  for (int tab = 0; tab < gadget::NetworksPanel; ++tab)
    gui.Events.push_back(
        {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::NextPanel), {}});
  TurnUntil(gui, [this] {
    return CanvasShows(gui, gadget::NetworkSendGraph, L"3KB/s") &&
           CanvasShows(gui, gadget::NetworkReceiveGraph, L"7KB/s");
  });
  Application application(Ports());
  application.Run();
  EXPECT_TRUE(CanvasShows(gui, gadget::NetworkSendGraph, L"3KB/s"));
  EXPECT_TRUE(CanvasShows(gui, gadget::NetworkReceiveGraph, L"7KB/s"));
  EXPECT_FALSE(CanvasShows(gui, gadget::NetworkSendGraph, L"7KB/s"));
  EXPECT_FALSE(CanvasShows(gui, gadget::NetworkReceiveGraph, L"3KB/s"));
}

// The adapter filter follows the adapter the user chose, by its physical address: while that
// adapter is away nothing is filtered, but the choice stays, is followed again when the adapter
// is back, and is saved with the settings.
TEST_F(ApplicationTest, TheChosenAdapterIsFollowedAgainWhenItIsBack) {
  files.Files[kPortableIni] =
      SettingsFileWithFlags({opt::RememberPositions}, "FilterNic = 00:00:00:00:00:0B\r\n");
  const auto plug = [this](const std::wstring& name, uint32_t index, uint8_t mac) {
    std::lock_guard<std::mutex> lock(network.Mutex);
    network.AddAdapter(name, index, 10'000, L"10.0.0." + std::to_wstring(index));
    network.Rows[index].PhysicalAddress = {0, 0, 0, 0, 0, mac};
  };
  const auto unplug = [this](uint32_t index) {
    std::lock_guard<std::mutex> lock(network.Mutex);
    std::erase_if(*network.List,
                  [index](const platform::AdapterInfo& a) { return a.Index == index; });
    network.Rows.erase(index);
  };
  plug(L"Wired", 12, 0x0A);  // the chosen wireless adapter (0B) is away at start
  struct Step {
    const char* name;
    size_t items;
    std::wstring selectedHas;  // the chosen item shows this
    int followed;              // the interface the filter follows, 0 for all
    std::function<void()> then;
  };
  Application application(Ports());
  Settings& options = application.SharedSettings();
  const auto choose = [this](int item) {
    constexpr int kChange = static_cast<int>(platform::GadgetAction::Change);
    gui.SelectItem(gadget::AdapterFilterSelector, item);
    gui.Events.push_back(
        {EventKind::Gadget, gadget::MainWindow, gadget::AdapterFilterSelector, kChange, {}});
  };
  const std::vector<Step> steps = {
      {"chosen adapter away", 2, L"Show ALL", 0, [&] { plug(L"Wireless", 7, 0x0B); }},
      {"chosen adapter back", 3, L"(00:00:00:00:00:0B)", 7, [&] { choose(1); }},
      {"the user chooses another", 3, L"(00:00:00:00:00:0A)", 12, [&] { unplug(12); }},
      {"that one away", 2, L"Show ALL", 0, [&] { plug(L"Wired", 12, 0x0A); }},
      {"and back", 3, L"(00:00:00:00:00:0A)", 12, [] {}},
  };
  size_t step = 0;
  TurnUntil(gui, [&] {
    if (step == steps.size())
      return true;
    const fakes::FakeGui::Gadget& selector = gui.Gadgets[gadget::AdapterFilterSelector];
    if (selector.Rows.size() != steps[step].items || selector.Selected < 0 ||
        options.Get(opt::FilteredInterface) != steps[step].followed)
      return false;
    const std::wstring& shown = selector.Rows[static_cast<size_t>(selector.Selected)];
    if (shown.find(steps[step].selectedHas) == std::wstring::npos)
      return false;
    steps[step].then();
    options.Request(opt::NetworkRefreshRequest);
    ++step;
    return false;
  });
  application.Run();
  EXPECT_EQ(step, steps.size()) << (step < steps.size() ? steps[step].name : "");
  EXPECT_NE(files.Files[kPortableIni].find("FilterNic = 00:00:00:00:00:0A\r\n"), std::string::npos)
      << files.Files[kPortableIni];
}

// The Ping tab of a running program with one listed host (a 120 ms reply in its history), the
// comprehensive timeline on and slow responses from 50 ms: `act` runs on the window thread once
// the list is read and the tab shows, and again (its step counting up) after each wait until it
// returns true or the clock's time is up; the program then ends.
void RunOnThePingTab(fakes::FakeGui& gui, Application& application,
                     const std::function<bool(int step)>& act) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int step = -1;
  gui.OnWait = [&] {
    const auto keepGoing = [&gui] { gui.Events.push_back({EventKind::Wake, 0, 0, 0, {}}); };
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (std::chrono::steady_clock::now() > giveUp) {
      gui.OnWait = nullptr;
      return;
    }
    if (step < 0) {
      if (application.SharedSettings().Get(opt::PingHostCount) != 1)
        return keepGoing();
      for (int panel = 0; panel < 5; ++panel) {
        gui.Events.push_back(
            {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::NextPanel), {}});
      }
      step = 0;
      return;
    }
    if (act(step++))
      gui.OnWait = nullptr;
    else
      keepGoing();
  };
  application.Run();
}

class ApplicationPingTest : public ApplicationTest {
 protected:
  ApplicationPingTest() {
    files.Files[kPortableIni] = SettingsFileWithFlags({opt::ComprehensivePingTimeline});
    files.Files[L"C:\\Tools\\Tarvik\\TK-Ping.json"] =
        R"([{"Addr":"10.0.0.1","PV":[{"S":1709993000,"T":120}]}])";
  }

  static bool MessageIs(Application& application, const std::wstring& message) {
    return application.SharedTexts().Get(slot::PingStatusMessage) == message;
  }

  // The user picks an item of a selector.
  void Choose(int selector, int item) {
    gui.SelectItem(selector, item);
    gui.Events.push_back({EventKind::Gadget,
                          gadget::MainWindow,
                          selector,
                          static_cast<int>(platform::GadgetAction::Change),
                          {}});
  }
};

// Choosing another slow-response level says so in the header at once and draws the bars again by
// it: the 120 ms reply, a full yellow bar at 50 ms, becomes a green one at 150 ms.
TEST_F(ApplicationPingTest, ChoosingASlowResponseLevelAnnouncesItAndRecoloursTheBars) {
  Application application(Ports());
  const std::wstring announced = L"Slow response (Yellow Bars) set to 150 ms";
  RunOnThePingTab(gui, application, [&](int step) {
    if (step == 0) {
      Choose(gadget::SlowResponseSelector, 2);
      return false;
    }
    return MessageIs(application, announced);
  });
  const std::vector<std::wstring> header = gui.TextHistoryOfCanvas(gadget::PingHeaderCanvas);
  EXPECT_NE(std::find_if(header.begin(), header.end(),
                         [&](const std::wstring& text) { return text.starts_with(announced); }),
            header.end());
  const Settings& options = application.SharedSettings();
  // The newest sample is the "resumed" one the start added; the reply stands left of it.
  const int x = options.Get(opt::PingTimelineX) + options.Get(opt::PingTimelineWidth) - 2;
  const fakes::PixelCanvas& list = *gui.ClosedCanvases.at(gadget::PingListCanvas);
  EXPECT_EQ(list.CountInColumn(x, Rgb(255, 255, 0)), 0) << "no longer slow";
  EXPECT_GT(list.CountInColumn(x, Rgb(0, 204, 0)), 0) << "a green bar by the new level";
}

// What cannot be pinged is refused with the message, whether typed as a name ("0.0.0.0") or as an
// address with a description ("0.0.0.00"), and nothing is added.
TEST_F(ApplicationPingTest, AnAddressOfNoneIsRefusedWithTheInvalidHostMessage) {
  Application application(Ports());
  const std::wstring invalid = L"Invalid Host Name or IP Address";
  const auto enter = [this](const wchar_t* typed) {
    gui.SetGadgetText(gadget::PingHostEntry, typed);
    gui.SetGadgetText(gadget::PingDescriptionEntry, L"nowhere");
    gui.Events.push_back(
        {EventKind::Shortcut, gadget::MainWindow, 0, static_cast<int>(Command::Enter), {}});
  };
  bool refusedAsName = false;
  RunOnThePingTab(gui, application, [&](int step) {
    if (step == 0) {
      enter(L"0.0.0.0");
      return false;
    }
    if (!refusedAsName) {
      if (!MessageIs(application, invalid))
        return false;
      refusedAsName = true;
      application.SharedTexts().Set(slot::PingStatusMessage, L"");
      Choose(gadget::PingShowSelector, 1);
      return false;
    }
    if (gui.Gadgets.at(gadget::PingHostEntry).Text == L"0.0.0.0") {
      enter(L"0.0.0.00");  // the address entry, once it shows
      return false;
    }
    return MessageIs(application, invalid);
  });
  EXPECT_TRUE(refusedAsName);
  EXPECT_EQ(application.SharedTexts().Get(slot::PingStatusMessage), invalid);
  EXPECT_EQ(application.SharedSettings().Get(opt::PingHostCount), 1);
}

}  // namespace
}  // namespace tarvik
