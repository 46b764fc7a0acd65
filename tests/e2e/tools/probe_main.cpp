// TarvikProbe.exe: the program as it ships, plus a read-out that only end-to-end tests use.
// Four times a second it writes what the mini window's cells say (the drive cells also with their
// colours) and how many samples each history graph holds to "probe-readout.txt" in the program's
// folder, so a test can check the values the program shows without reading pixels. The Graphics
// tab's cards add their cells, their graphs, whether the GPU monitor runs, and the rows of the
// tab's detail list (140) and summary list (136) with the system events (129), all columns of a
// row. It also shows the network information list, and points the external address lookup at the
// service that TARVIK_TEST_LOCALE_SERVICE names (a local server of the test), when it is set.
// The ping list tells how many hosts it holds, and each pinged host adds its counts as the Ping
// tab shows them.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <thread>
#include <vector>

#include "core/meter_table.h"
#include "core/settings_index.h"
#include "monitors/gpu/gpu_monitor.h"
#include "text/utf8.h"
#include "windows_program.h"

namespace {

constexpr int kFirstSystemGraph = 301;
constexpr int kLastSystemGraph = 308;

// The drive cells shown (rows 0-26), each as "drive <index> <text colour> <back colour> [text]",
// colours as six hexadecimal digits.
std::wstring DriveLines(tarvik::MeterTable& meters) {
  std::wostringstream out;
  auto table = meters.Lock();
  for (int meter = 0; meter < tarvik::kPhysMeter; ++meter) {
    const tarvik::MeterRecord& record = (*table)[static_cast<size_t>(meter)];
    if (!record.Active)
      continue;
    out << L"drive " << meter << std::hex << std::setfill(L'0') << L" " << std::setw(6)
        << record.TextColour << L" " << std::setw(6) << record.BackColour << std::dec << L" ["
        << record.Text << L"]\n";
  }
  return out.str();
}

// The cells of the meters from `first` to `last` that are shown.
void ShownMeterLines(const std::array<tarvik::MeterRecord, tarvik::kMeterCount>& table, int first,
                     int last, std::wostringstream& out) {
  for (int meter = first; meter <= last; ++meter) {
    const tarvik::MeterRecord& record = table[static_cast<size_t>(meter)];
    if (record.Active)
      out << L"meter " << meter << L" [" << record.Text << L"]\n";
  }
}

std::wstring MeterLines(tarvik::MeterTable& meters) {
  std::wostringstream out;
  auto table = meters.Lock();
  for (int meter = tarvik::kPhysMeter; meter <= tarvik::kCloseCellMeter; ++meter)
    out << L"meter " << meter << L" [" << (*table)[static_cast<size_t>(meter)].Text << L"]\n";
  ShownMeterLines(*table, tarvik::kFirstDriveMeter, tarvik::kLastDriveMeter, out);
  ShownMeterLines(*table, tarvik::kFirstGpuMeter, tarvik::kMeterCount - 1, out);
  return out.str();
}

// The main window's list with the given control id, found among this process's windows.
HWND ListOfMainWindow(int id) {
  struct Search {
    int Id;
    HWND Found = nullptr;
  } search{id};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process != ::GetCurrentProcessId())
          return TRUE;
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM inner) -> BOOL {
              auto* found = reinterpret_cast<Search*>(inner);
              if (::GetDlgCtrlID(child) != found->Id)
                return TRUE;
              found->Found = child;
              return FALSE;
            },
            data);
        return reinterpret_cast<Search*>(data)->Found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// How many columns the list shows; 1 for a list without header items.
DWORD_PTR ColumnCount(HWND list) {
  DWORD_PTR header = 0;
  DWORD_PTR columns = 0;
  if (!::SendMessageTimeoutW(list, LVM_GETHEADER, 0, 0, SMTO_ABORTIFHUNG, 500, &header) ||
      header == 0 ||
      !::SendMessageTimeoutW(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0,
                             SMTO_ABORTIFHUNG, 500, &columns))
    return 1;
  return std::max<DWORD_PTR>(columns, 1);
}

// Each row of the list as "list <id> [<its columns, separated by tabs>]"; the window thread
// answers within a bounded wait, so a busy window only leaves the rows out.
std::wstring ListLines(int id) {
  const HWND list = ListOfMainWindow(id);
  DWORD_PTR count = 0;
  if (list == nullptr ||
      !::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 500, &count))
    return {};
  const DWORD_PTR columns = ColumnCount(list);
  std::wostringstream out;
  for (DWORD_PTR row = 0; row < count; ++row) {
    out << L"list " << id << L" [";
    for (DWORD_PTR column = 0; column < columns; ++column) {
      wchar_t text[512] = {};
      LVITEMW item{};
      item.iSubItem = static_cast<int>(column);
      item.pszText = text;
      item.cchTextMax = 512;
      DWORD_PTR copied = 0;
      if (!::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item),
                                 SMTO_ABORTIFHUNG, 500, &copied))
        return out.str() + L"]\n";
      out << (column == 0 ? L"" : L"\t") << text;
    }
    out << L"]\n";
  }
  return out.str();
}

// The direct children of a window, in the order they were made (the system lists children from
// the top of their stacking order, and each new one goes below those made before it).
std::vector<HWND> ChildrenOf(HWND parent) {
  struct Search {
    HWND Parent;
    std::vector<HWND> Found;
  } search{parent, {}};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto* found = reinterpret_cast<Search*>(data);
        if (::GetParent(child) == found->Parent)
          found->Found.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// A window's rectangle in the main window's client area.
RECT InClientOf(HWND main, HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// For each tab page of the main window, in tab order: how far right and down its controls reach,
// where the page itself ends, and the size of the client area, all in the client's pixels:
// "tab <index> <controls right> <controls bottom> <page right> <page bottom> <width> <height>".
std::wstring TabExtentLines() {
  constexpr int kMainPanel = 127;
  const HWND tab = ListOfMainWindow(kMainPanel);
  const HWND main = tab ? ::GetParent(tab) : nullptr;
  RECT client{};
  if (!main || !::GetClientRect(main, &client))
    return {};
  std::wostringstream out;
  int index = 0;
  for (const HWND page : ChildrenOf(tab)) {
    LONG right = 0;
    LONG bottom = 0;
    for (const HWND control : ChildrenOf(page)) {
      const RECT rect = InClientOf(main, control);
      right = std::max(right, rect.right);
      bottom = std::max(bottom, rect.bottom);
    }
    const RECT area = InClientOf(main, page);
    out << L"tab " << index++ << L" " << right << L" " << bottom << L" " << area.right << L" "
        << area.bottom << L" " << client.right << L" " << client.bottom << L"\n";
  }
  return out.str();
}

std::wstring InformationLines(tarvik::NetworkWiring& network) {
  std::wstring text;
  for (const std::wstring& line : network.Readings().Information)
    text += L"info [" + line + L"]\n";
  return text;
}

// "ping <address> sent <n> lost <n>" for each host of the ping list.
std::wstring PingLines(tarvik::PingWiring& ping) {
  std::wostringstream out;
  for (const tarvik::PSys& host : ping.SharedList().Lock()->Hosts)
    out << L"ping " << host.Addr << L" sent " << host.Sent << L" lost " << host.Lost << L"\n";
  return out.str();
}

std::wstring GraphLine(tarvik::GraphStore& graphs, int graph) {
  const std::vector<tarvik::GraphSample> samples = graphs.Samples(graph);
  float highest = 0;
  for (const tarvik::GraphSample& sample : samples)
    highest = std::max(highest, sample.Value);
  std::wostringstream out;
  out << L"graph " << graph << L" " << samples.size() << L" " << highest << L"\n";
  return out.str();
}

std::wstring Readout(tarvik::Application& program) {
  std::wstring text = MeterLines(program.Meters()) + DriveLines(program.Meters());
  for (int graph = kFirstSystemGraph; graph <= kLastSystemGraph; ++graph)
    text += GraphLine(program.Graphs(), graph);
  tarvik::Settings& options = program.SharedSettings();
  const int firstProcessor = options.Get(tarvik::opt::FirstProcessorGraph);
  for (int processor = 0; processor < options.Get(tarvik::opt::ProcessorCount); ++processor)
    text += GraphLine(program.Graphs(), firstProcessor + processor);
  const int firstGpuGraph = options.Get(tarvik::opt::FirstGpuGraph);
  const int shownCards =
      std::min(options.Get(tarvik::opt::GpuCount), static_cast<int>(tarvik::kMaxGpus));
  for (int card = 0; card < shownCards; ++card) {
    for (int graph = 0; graph < 6; ++graph)
      text += GraphLine(program.Graphs(),
                        firstGpuGraph + tarvik::GpuMonitor::kGraphsPerCard * card + graph);
  }
  text += L"nvml " + std::to_wstring(options.Get(tarvik::opt::NvmlPresent)) + L"\n";
  text += L"gpu-monitor " +
          std::to_wstring(program.Threads().IsAlive(tarvik::GpuMonitor::kName) ? 1 : 0) + L"\n";
  text += L"ping-hosts " + std::to_wstring(options.Get(tarvik::opt::PingHostCount)) + L"\n";
  return text + ListLines(140) + ListLines(136) + ListLines(129) +
         InformationLines(program.Network()) + TabExtentLines() + PingLines(program.Ping());
}

// Replaces the read-out file in one step, so the test never reads half of one.
void WriteReadout(const std::wstring& folder, const std::wstring& text) {
  const std::wstring path = folder + L"probe-readout.txt";
  const std::wstring temporary = path + L".new";
  const std::string bytes = tarvik::ToUtf8(text);
  const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void StartReadout(tarvik::Application& program) {
  if (const wchar_t* service = _wgetenv(L"TARVIK_TEST_LOCALE_SERVICE"); service && *service)
    program.Network().UseLocaleService(tarvik::ToUtf8(service));
  std::thread([&program] {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
      const std::wstring folder = program.SharedPaths().Lock()->ProgramFolder;
      if (!folder.empty())
        WriteReadout(folder, Readout(program));
    }
  }).detach();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ::ExitProcess(static_cast<UINT>(tarvik::RunOnWindows(StartReadout)));
}
