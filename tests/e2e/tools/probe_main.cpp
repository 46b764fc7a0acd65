// TarvikProbe.exe: the program as it ships, plus a read-out that only end-to-end tests use.
// Four times a second it writes what the mini window's cells say and how many samples each
// history graph holds to "probe-readout.txt" in the program's folder, so a test can check the
// values the program shows without reading pixels. The Graphics tab's cards add their cells,
// their graphs, whether the GPU monitor runs, and the rows of the tab's detail list. It also shows
// the network information list and how many hosts the ping list holds, and points the external
// address lookup at the service that TARVIK_TEST_LOCALE_SERVICE names (a local server of the
// test), when it is set.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "core/meter_table.h"
#include "core/settings_index.h"
#include "monitors/gpu/gpu_monitor.h"
#include "text/utf8.h"
#include "windows_program.h"

namespace {

constexpr int kFirstSystemGraph = 301;
constexpr int kLastSystemGraph = 308;

std::wstring MeterLines(tarvik::MeterTable& meters) {
  std::wostringstream out;
  auto table = meters.Lock();
  for (int meter = tarvik::kPhysMeter; meter <= tarvik::kCloseCellMeter; ++meter)
    out << L"meter " << meter << L" [" << (*table)[static_cast<size_t>(meter)].Text << L"]\n";
  for (int meter = tarvik::kFirstGpuMeter; meter < tarvik::kMeterCount; ++meter) {
    const tarvik::MeterRecord& record = (*table)[static_cast<size_t>(meter)];
    if (record.Active)
      out << L"meter " << meter << L" [" << record.Text << L"]\n";
  }
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

// Each row of the list as "list <id> [<text of the first column>]"; the window thread answers
// within a bounded wait, so a busy window only leaves the rows out.
std::wstring ListLines(int id) {
  const HWND list = ListOfMainWindow(id);
  DWORD_PTR count = 0;
  if (list == nullptr ||
      !::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 500, &count))
    return {};
  std::wostringstream out;
  for (DWORD_PTR row = 0; row < count; ++row) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 512;
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item),
                               SMTO_ABORTIFHUNG, 500, &copied))
      return out.str();
    out << L"list " << id << L" [" << text << L"]\n";
  }
  return out.str();
}

std::wstring InformationLines(tarvik::NetworkWiring& network) {
  std::wstring text;
  for (const std::wstring& line : network.Readings().Information)
    text += L"info [" + line + L"]\n";
  return text;
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
  std::wstring text = MeterLines(program.Meters());
  for (int graph = kFirstSystemGraph; graph <= kLastSystemGraph; ++graph)
    text += GraphLine(program.Graphs(), graph);
  tarvik::Settings& options = program.SharedSettings();
  const int firstProcessor = options.Get(tarvik::opt::FirstProcessorGraph);
  for (int processor = 0; processor < options.Get(tarvik::opt::ProcessorCount); ++processor)
    text += GraphLine(program.Graphs(), firstProcessor + processor);
  const int firstGpuGraph = options.Get(tarvik::opt::FirstGpuGraph);
  for (int card = 0; card < options.Get(tarvik::opt::GpuCount); ++card) {
    for (int graph = 0; graph < 6; ++graph)
      text += GraphLine(program.Graphs(),
                        firstGpuGraph + tarvik::GpuMonitor::kGraphsPerCard * card + graph);
  }
  text += L"nvml " + std::to_wstring(options.Get(tarvik::opt::NvmlPresent)) + L"\n";
  text += L"gpu-monitor " +
          std::to_wstring(program.Threads().IsAlive(tarvik::GpuMonitor::kName) ? 1 : 0) + L"\n";
  text += L"ping-hosts " + std::to_wstring(options.Get(tarvik::opt::PingHostCount)) + L"\n";
  return text + ListLines(140) + InformationLines(program.Network());
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
