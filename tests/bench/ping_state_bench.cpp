// What the ping state file costs with a full list (1024 hosts of 1000 samples each): its size,
// the time to write and to read its text, and the time of a save and a load as the ping
// coordinator runs them. The Windows build goes through the program's own file system to real
// files in the current folder; the native build keeps the files in memory, so its figures are
// the program's own work. Run by scripts/bench.sh; prints figures, judges nothing.
#include <chrono>
#include <cstdio>
#include <string>

#include "monitors/ping/ping_list_json.h"
#include "monitors/ping/ping_state_file.h"

#ifdef _WIN32
#include "platform/win32/win32_file_system.h"
using BenchFileSystem = tarvik::win32::Win32FileSystem;
constexpr const char* kWhere = "Windows, real files";
#else
#include "fakes/fake_file_system.h"
using BenchFileSystem = tarvik::fakes::FakeFileSystem;
constexpr const char* kWhere = "native, files in memory";
#endif

namespace tarvik {
namespace {

constexpr int32_t kStart = 1733700000;

PingList FullList() {
  PingList hosts(static_cast<size_t>(kMaxPingHosts));
  for (size_t index = 0; index < hosts.size(); ++index) {
    PSys& host = hosts[index];
    const auto octet = std::to_wstring(index % 250);
    host.Init = std::to_wstring(kStart) + L"." + octet;
    host.Addr = L"10.1." + std::to_wstring(index / 250) + L"." + octet;
    host.Host = L"host number " + octet;
    host.Sent = host.Recv = 1000;
    for (int32_t sample = 0; sample < static_cast<int32_t>(kMaxSamples); ++sample)
      host.PV.push_back({kStart + sample * 60, sample % 97 == 0 ? -1 : 5 + sample % 400});
  }
  return hosts;
}

template <typename Work>
double Milliseconds(Work&& work) {
  const auto started = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double, std::milli> spent =
      std::chrono::steady_clock::now() - started;
  return spent.count();
}

int Run() {
  const PingList hosts = FullList();
  std::string text;
  const double writeText = Milliseconds([&] { text = PingListJson(hosts); });
  PingListReading reading;
  const double readText = Milliseconds([&] { reading = ReadPingListJson(text); });

  BenchFileSystem files;
  const std::wstring path = L"TK-Ping-bench.json";
  static_cast<void>(files.RemoveFile(path));
  bool saved = false;
  PingFileStanding standing = PingFileStanding::Read;
  const double firstSave =
      Milliseconds([&] { saved = SavePingList(hosts, standing, files, path); });
  const double hourlySave =
      Milliseconds([&] { saved = saved && SavePingList(hosts, standing, files, path); });
  PingLoadResult loaded;
  const double load = Milliseconds([&] { loaded = LoadPingList(files, path); });
  static_cast<void>(files.RemoveFile(path));

  const bool sound = saved && reading.Hosts == hosts && loaded.Hosts == hosts;
  std::printf(
      "ping state file, %d hosts x %zu samples (%s): %.1f MB; text written in %.0f ms, read in "
      "%.0f ms; first save %.0f ms, hourly save over the old file %.0f ms, load %.0f ms%s\n",
      kMaxPingHosts, kMaxSamples, kWhere, static_cast<double>(text.size()) / 1e6, writeText,
      readText, firstSave, hourlySave, load, sound ? "" : " (DID NOT READ BACK)");
  return sound ? 0 : 1;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
