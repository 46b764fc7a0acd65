// Fuzz target for the two state files: each input is read as the ping list (TK-Ping.json) and as
// the event lists (TK-Saga.json). Checks that a ping list that reads holds only values in range
// and comes back unchanged through a save and a load, that one read only in part is kept under
// TK-Ping.bad, and that one that does not read survives the next save there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "core/list_model.h"
#include "core/settings.h"
#include "core/window_updates.h"
#include "fakes/fake_file_system.h"
#include "logs/event_lists.h"
#include "logs/saga_file.h"
#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_list_json.h"
#include "monitors/ping/ping_state_file.h"
#include "settings/defaults.h"
#include "text/translation.h"

namespace tarvik {
namespace {

const std::wstring kPingPath = L"C:\\Data\\TK-Ping.json";
const std::wstring kSagaPath = L"C:\\Data\\TK-Saga.json";

void Require(bool condition) {
  if (!condition)
    std::abort();
}

class StillClock : public platform::Clock {
 public:
  int64_t NowLocal() const override { return 1710000000; }
  int64_t TickMs() const override { return 0; }
  void SleepMs(int) const override {}
};

// Every value of a host that was read is one the program could have written itself.
void RequireInRange(const PSys& host, std::set<int32_t>& addresses) {
  Require(host.Valu != 0 && addresses.insert(host.Valu).second);
  Require(host.Addr == DottedAddress(static_cast<uint32_t>(host.Valu)));
  Require((host.Actv == 0 || host.Actv == 1) && (host.HiLi == 0 || host.HiLi == 1));
  Require(host.Sent >= 0 && host.Recv >= 0 && host.Lost >= 0 && host.Down >= 0);
  Require(host.Time >= -1 && host.Best >= -1 && host.Wors >= -1);
  Require(host.Host.size() <= kMaxDescription);
  Require(host.PV.size() <= kMaxSamples);
  for (const PValues& sample : host.PV)
    Require(sample.S >= 0 && (sample.T >= -2 || sample.T == kSamplePaused));
}

void CheckPingList(std::string_view bytes) {
  fakes::FakeFileSystem files;
  files.Files[kPingPath] = std::string(bytes);
  const PingLoadResult loaded = LoadPingList(files, kPingPath);
  const std::wstring refused = PingRefusedPath(kPingPath);
  // Reading makes no change but the copy of a refused file that its message names.
  for (const std::wstring& change : files.Changes)
    Require(change == L"write " + refused && files.Files[refused] == bytes);
  Require(loaded.Hosts.size() <= static_cast<size_t>(kMaxPingHosts));
  std::set<int32_t> addresses;
  for (const PSys& host : loaded.Hosts)
    RequireInRange(host, addresses);
  // Whatever did not read whole is kept as it was, and the message says so.
  if (loaded.Outcome == PingLoadOutcome::Loaded && !loaded.Reason.empty())
    Require(files.Files[refused] == bytes);
  if (loaded.Outcome == PingLoadOutcome::Refused) {
    Require(!loaded.Reason.empty());
    Require(files.Files[refused] == bytes);
    PingFileStanding standing = loaded.Standing;
    Require(SavePingList(PingList(1), standing, files, kPingPath));
    Require(files.Files[refused] == bytes);
    return;
  }
  const std::string written = PingListJson(loaded.Hosts);
  const PingListReading again = ReadPingListJson(written);
  Require(again.Fault == PingListFault::None && !again.Lossy() && again.Hosts == loaded.Hosts);
  Require(PingListJson(again.Hosts) == written);
}

void CheckEventLists(std::string_view bytes) {
  fakes::FakeFileSystem files;
  files.Files[kSagaPath] = std::string(bytes);
  Settings settings;
  ApplyDefaults(settings, 4, 0);
  settings.Set(opt::RestoreEvents, 1);
  WindowUpdateQueue updates;
  ListModel system{129, updates};
  ListModel network{130, updates};
  ListModel drive{131, updates};
  StillClock clock;
  EventLists lists{{system, network, drive}, settings, clock, nullptr};
  const EventListHeaders headers = {L"System Events", L"Network Events", L""};
  if (!RestoreEvents(lists, files, kSagaPath, headers)) {
    Require(system.Rows().empty() && network.Rows().empty() && drive.Rows().empty());
    return;
  }
  static_cast<void>(SaveEvents(lists, files, kSagaPath, headers));
}

}  // namespace
}  // namespace tarvik

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvik;
  static const bool loaded = (LoadTranslations(kEnglish), true);
  static_cast<void>(loaded);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckPingList(bytes);
  CheckEventLists(bytes);
  return 0;
}
