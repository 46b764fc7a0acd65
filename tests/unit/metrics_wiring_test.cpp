#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "app/metrics_wiring.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_own_process.h"
#include "fakes/fake_system.h"
#include "settings/defaults.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/main_window.h"
#include "unit/metrics_page_reader.h"

namespace tarvik {
namespace {

using platform::EventKind;
using platform::GadgetAction;
using platform::ListenResult;

// A listener that records what it was asked and answers as told.
class FakePageServer : public platform::PageServer {
 public:
  ListenResult Start(const std::string& address, uint16_t port, const std::string& path,
                     std::function<platform::ServedPage()> page) override {
    Stop();
    Starts.push_back(address + ":" + std::to_string(port) + path);
    if (Answer == ListenResult::Listening)
      Page = std::move(page);
    return Answer;
  }
  void Stop() override {
    if (Page)
      ++Stops;
    Page = nullptr;
  }
  [[nodiscard]] bool Listening() const override { return Page != nullptr; }

  ListenResult Answer = ListenResult::Listening;
  std::vector<std::string> Starts;
  int Stops = 0;
  std::function<platform::ServedPage()> Page;
};

class MetricsWiringTest : public ::testing::Test {
 protected:
  MetricsWiringTest() {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, 4, 0);
    gui.OpenWindow(gadget::MiniWindow, {});
    BuildMainWindow(gui, {}, settings, graphs, false);
    wiring.UseServer(&server);
    wiring.Install(routes);
    wiring.Apply();
  }

  void ClickCheckBox() {
    static_cast<void>(routes.Route({EventKind::Gadget,
                                    gadget::MainWindow,
                                    gadget::MetricsCheckBox,
                                    static_cast<int>(GadgetAction::Click),
                                    {}}));
  }
  [[nodiscard]] std::wstring StateShown() const { return gui.GadgetText(gadget::MetricsStateText); }

  fakes::FakeGui gui;
  fakes::FakeClock clock;
  GraphStore graphs{clock};
  Settings settings;
  GadgetRoutes routes;
  Guarded<SystemReadings> system;
  Guarded<DriveTable> drives;
  Guarded<NetworkReadings> network;
  SharedPingList ping;
  Guarded<GpuReadings> gpus;
  std::vector<std::wstring> log;
  FakePageServer server;
  MetricsWiring wiring{
      {gui, settings, {system, drives, network, ping, gpus}, [this](const std::wstring& line) {
         log.push_back(line);
       }}};
};

// Off by default with nothing listening; the check box starts and stops the listener at once, and
// an address that changes (an import) moves it.
TEST_F(MetricsWiringTest, TheOptionTakesEffectAtOnce) {
  EXPECT_TRUE(server.Starts.empty());
  EXPECT_FALSE(server.Listening());
  EXPECT_EQ(gui.GetCheckState(gadget::MetricsCheckBox), platform::CheckState::Unchecked);
  EXPECT_EQ(gui.GadgetText(gadget::MetricsAddressText), L"http://127.0.0.1:9184/metrics");

  ClickCheckBox();
  EXPECT_EQ(server.Starts, std::vector<std::string>{"127.0.0.1:9184/metrics"});
  EXPECT_TRUE(server.Listening());
  EXPECT_TRUE(settings.IsOn(opt::MetricsOn));
  EXPECT_EQ(StateShown(), L"Listening");
  EXPECT_EQ(gui.GetCheckState(gadget::MetricsCheckBox), platform::CheckState::Checked);

  wiring.Apply();  // nothing changed: the listener stays as it is
  EXPECT_EQ(server.Starts.size(), 1u);

  ApplyMetricsSettingText(L"0.0.0.0:9200", settings);
  wiring.Apply();
  EXPECT_EQ(server.Starts.back(), "0.0.0.0:9200/metrics");
  EXPECT_EQ(server.Stops, 1);
  EXPECT_EQ(StateShown(), L"Listening, the port is open to the network");
  ApplyMetricsSettingText(L"0.0.0.0:9201", settings);  // the port alone moves it too
  wiring.Apply();
  EXPECT_EQ(server.Starts.back(), "0.0.0.0:9201/metrics");
  EXPECT_EQ(server.Stops, 2);

  ClickCheckBox();
  EXPECT_FALSE(server.Listening());
  EXPECT_EQ(server.Stops, 3);
  EXPECT_EQ(StateShown(), L"");
  EXPECT_EQ(log, (std::vector<std::wstring>{
                     L"Metrics: http://127.0.0.1:9184/metrics Listening",
                     L"Metrics: http://127.0.0.1:9184/metrics Stopped",
                     L"Metrics: http://0.0.0.0:9200/metrics Listening, the port is open to the "
                     L"network",
                     L"Metrics: http://0.0.0.0:9200/metrics Stopped",
                     L"Metrics: http://0.0.0.0:9201/metrics Listening, the port is open to the "
                     L"network",
                     L"Metrics: http://0.0.0.0:9201/metrics Stopped"}));
}

// A listener that cannot start is told on the row and in the log, and the program goes on; the
// next click tries again.
TEST_F(MetricsWiringTest, AListenerThatCannotStartIsReported) {
  const struct {
    ListenResult Answer;
    const wchar_t* Shown;
  } cases[] = {{ListenResult::AddressInUse, L"Port already in use"},
               {ListenResult::AddressNotAvailable, L"Address not on this computer"},
               {ListenResult::Failed, L"Could not listen"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Shown, c.Shown + wcslen(c.Shown)));
    server.Answer = c.Answer;
    log.clear();
    ClickCheckBox();
    EXPECT_FALSE(server.Listening());
    EXPECT_EQ(StateShown(), c.Shown);
    EXPECT_EQ(log, std::vector<std::wstring>{L"Metrics: http://127.0.0.1:9184/metrics " +
                                             std::wstring(c.Shown)});
    ClickCheckBox();
    EXPECT_EQ(StateShown(), L"");
  }
  server.Answer = ListenResult::Listening;
  ClickCheckBox();
  EXPECT_EQ(StateShown(), L"Listening");

  // An address the settings file gave that does not read leaves the page off and says so.
  ApplyMetricsSettingText(L"my-pc:9184", settings);
  log.clear();
  wiring.Apply();
  EXPECT_FALSE(server.Listening());
  EXPECT_EQ(StateShown(), L"Address in Tarvik.ini not understood");
  EXPECT_EQ(log.back(), L"Metrics: Address in Tarvik.ini not understood");
}

// The page's readings are what the monitors' records hold, each in its place.
TEST_F(MetricsWiringTest, TheReadingsAreTheMonitorsOwn) {
  {
    auto read = system.Lock();
    read->Processors = {{L"CPU 0", 2400, 37}};
    read->AverageLoad = 37;
    read->HighestMhz = 3000;
    read->Memory = MemoryBytes{8'000, 3'000, 16'000, 9'000};
    read->BatteryPercent = 64;
    read->OnMains = false;
    read->UptimeSeconds = 3723;
    read->OwnProcess = OwnProcessReading{1.5, 4'096, 1'765'000'000, 60};
  }
  {
    DriveRecord& c = drives.Lock()->Drives[3];
    c.State = DriveState::Present;
    c.Kind = DriveKind::Fixed;
    c.VolumeName = L"System      ";
    c.VolumeSerial = L"1A2B-3C4D";
    c.BytesTotal = 1'000;
    c.BytesAvailable = 123;
    c.Events.Relabelled = 2;
  }
  {
    AdapterRecord lan;
    lan.Matched = true;
    lan.Info.Description = L"Ethernet";
    lan.PhysicalAddress = L"00:1A:2B:3C:4D:5E";
    lan.BytesRecv = 5'000;
    lan.BytesSent = 1'000;
    lan.PacketsRecv = 50;
    lan.PacketsSent = 10;
    lan.ErrorsRecv = 3;
    lan.ErrorsSent = 2;
    lan.ReceiveSpeed = 800;
    lan.TransmitSpeed = 1'600;
    lan.OperStatus = 1;
    AdapterRecord unmatched;
    unmatched.Info.Description = L"Gone";
    auto read = network.Lock();
    read->Adapters = {lan, unmatched};
    read->InternetFlags = 0x12;
  }
  {
    PSys host;
    host.Addr = L"127.0.0.1";
    host.Host = L"loopback";
    host.Sent = 4;
    host.Lost = 1;
    host.Last = 1;
    host.Time = 3;
    host.Actv = 0;
    ping.Lock()->Hosts = {host};
  }
  {
    GpuDevice card;
    card.Facts.Name.Value = L"Fake Card";
    card.Sample.Temperature.Value = 43;
    card.Sample.Utilization.Value = {37, 12};
    card.Sample.Memory.Value = {8'000, 7'000, 1'000};
    card.Sample.Clocks[kGraphicsClock].Value = 1500;
    card.Sample.PowerMilliwatts.Value = 120'000;
    card.Sample.Fan.Value = 41;
    card.Sample.Fan.Status = kNvmlFunctionMissing;
    card.Sample.PerformanceState.Value = 2;
    GpuDevice lost = card;  // fell off the bus: its series end instead of holding still
    lost.CardStatus = 15;
    gpus.Lock()->Cards.Devices = {card, lost};
  }
  MetricsReadingsSource source({system, drives, network, ping, gpus});
  const MetricsReadings read = source.Assemble();

  ASSERT_EQ(read.Processors.size(), 1u);
  EXPECT_EQ(read.Processors[0].LoadPercent, 37);
  EXPECT_EQ(read.Processors[0].CurrentMhz, 2400);
  EXPECT_EQ(read.AverageLoadPercent, 37);
  EXPECT_EQ(read.HighestMhz, 3000);
  ASSERT_TRUE(read.Memory.has_value());
  EXPECT_EQ((std::vector<int64_t>{read.Memory->PhysicalTotal, read.Memory->PhysicalAvailable,
                                  read.Memory->PageFileTotal, read.Memory->PageFileAvailable}),
            (std::vector<int64_t>{8'000, 3'000, 16'000, 9'000}));
  EXPECT_EQ(read.BatteryPercent, 64);
  EXPECT_EQ(read.OnMains, false);
  EXPECT_EQ(read.SystemUptimeSeconds, 3723);
  ASSERT_TRUE(read.Process.has_value());
  EXPECT_EQ(read.Process->CpuSeconds, 1.5);
  EXPECT_EQ(read.Process->ResidentBytes, 4'096);
  EXPECT_EQ(read.Process->StartTimeUnixSeconds, 1'765'000'000);
  EXPECT_EQ(read.Process->UptimeSeconds, 60);

  ASSERT_EQ(read.Drives.size(), 1u);
  const DriveMetrics& c = read.Drives[0];
  EXPECT_EQ(c.Name + L"|" + c.Label + L"|" + c.Serial + L"|" + c.Type,
            L"C:|System|1A2B-3C4D|fixed");
  EXPECT_TRUE(c.Present);
  EXPECT_EQ(c.SizeBytes, 1'000);
  EXPECT_EQ(c.FreeBytes, 123);
  EXPECT_EQ(c.Events.Relabelled, 2);

  ASSERT_EQ(read.Adapters.size(), 1u) << "an adapter without its interface row is left out";
  const AdapterMetrics& a = read.Adapters[0];
  EXPECT_EQ(a.Name + L"|" + a.MacAddress, L"Ethernet|00:1A:2B:3C:4D:5E");
  EXPECT_EQ((std::vector<int64_t>{a.BytesReceived, a.BytesSent, a.PacketsReceived, a.PacketsSent,
                                  a.ErrorsReceived, a.ErrorsSent, a.ReceiveLinkBitsPerSecond,
                                  a.TransmitLinkBitsPerSecond}),
            (std::vector<int64_t>{5'000, 1'000, 50, 10, 3, 2, 800, 1'600}));
  EXPECT_TRUE(a.Up);
  EXPECT_EQ(read.InternetConnected, true);

  ASSERT_EQ(read.PingHosts.size(), 1u);
  const PingHostMetrics& h = read.PingHosts[0];
  EXPECT_EQ(h.Address + L"|" + h.Description, L"127.0.0.1|loopback");
  EXPECT_EQ(h.RoundTripMs, 3);
  EXPECT_EQ(h.Sent, 4);
  EXPECT_EQ(h.Lost, 1);
  EXPECT_TRUE(h.Paused);

  ASSERT_EQ(read.Gpus.size(), 1u);
  const GpuMetrics& g = read.Gpus[0];
  EXPECT_EQ(g.Name, L"Fake Card");
  EXPECT_EQ(g.TemperatureCelsius, 43);
  EXPECT_EQ(g.LoadPercent, 37);
  EXPECT_EQ(g.MemoryUsedBytes, 1'000);
  EXPECT_EQ(g.MemoryTotalBytes, 8'000);
  EXPECT_EQ(g.ClockMhz, 1'500);
  EXPECT_EQ(g.PowerMilliwatts, 120'000);
  EXPECT_EQ(g.FanPercent, std::nullopt) << "the library could not read it";
  EXPECT_EQ(g.PerformanceState, 2);
  EXPECT_EQ(read.Version, L"2.33 x64 426.9423");
}

// The program's own figures come from the two cheap readings: the page never has the system's
// process list walked for a thread count it does not serve.
TEST(OwnProcessReading, ComesFromTheCheapReadingsAlone) {
  const platform::OwnProcessorTime time{
      .CpuTime = 15'000'000, .AgeMs = 60'900, .StartUnixSeconds = 1'765'000'000};
  const platform::OwnProcessFigures figures{.WorkingSetBytes = 40 * 1'048'576, .Threads = 9};
  fakes::FakeOwnProcess process;
  process.Set(time, figures);
  const std::optional<OwnProcessReading> read = OwnProcessReadingOf(process);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->CpuSeconds, 1.5);
  EXPECT_EQ(read->WorkingSetBytes, 40 * 1'048'576);
  EXPECT_EQ(read->StartTimeUnixSeconds, 1'765'000'000);
  EXPECT_EQ(read->UptimeSeconds, 60);
  EXPECT_EQ(process.FigureReads(), 0);
}

// A record whose lock a monitor holds gives what it gave the page before, without waiting for
// the monitor; the others are read as they stand.
TEST_F(MetricsWiringTest, AScrapeNeverWaitsForAMonitor) {
  system.Lock()->Memory = MemoryBytes{8'000, 3'000, 16'000, 9'000};
  {
    PSys host;
    host.Addr = L"127.0.0.1";
    host.Sent = 4;
    ping.Lock()->Hosts = {host};
  }
  ClickCheckBox();
  ASSERT_TRUE(server.Listening());
  EXPECT_EQ(server.Page().ContentType, kMetricsContentType);

  auto held = ping.Lock();
  held->Hosts[0].Sent = 9;
  system.Lock()->Memory->PhysicalAvailable = 2'000;
  std::future<platform::ServedPage> page = std::async(std::launch::async, server.Page);
  ASSERT_EQ(page.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  const ScrapedPage scraped = ReadScrapedPage(page.get().Body);
  EXPECT_EQ(scraped.Value(R"(tarvik_ping_sent_total{host="127.0.0.1",description=""})"), "4");
  EXPECT_EQ(scraped.Value("tarvik_memory_physical_available_bytes"), "2000");
}

}  // namespace
}  // namespace tarvik
