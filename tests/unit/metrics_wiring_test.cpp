#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "app/metrics_wiring.h"
#include "fakes/fake_gui.h"
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

  ClickCheckBox();
  EXPECT_FALSE(server.Listening());
  EXPECT_EQ(server.Stops, 2);
  EXPECT_EQ(StateShown(), L"");
  EXPECT_EQ(log, (std::vector<std::wstring>{
                     L"Metrics: http://127.0.0.1:9184/metrics Listening",
                     L"Metrics: http://127.0.0.1:9184/metrics Stopped",
                     L"Metrics: http://0.0.0.0:9200/metrics Listening, the port is open to the "
                     L"network",
                     L"Metrics: http://0.0.0.0:9200/metrics Stopped"}));
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

// The page holds the monitors' readings as they stand; a record whose lock a monitor holds gives
// what it gave before, without waiting for the monitor.
TEST_F(MetricsWiringTest, AScrapeServesTheReadingsAndNeverWaitsForAMonitor) {
  system.Lock()->Memory = MemoryBytes{8'000, 3'000, 16'000, 9'000};
  {
    PSys host;
    host.Addr = L"127.0.0.1";
    host.Host = L"loopback";
    host.Sent = 4;
    host.Last = 1;
    host.Time = 3;
    ping.Lock()->Hosts = {host};
  }
  drives.Lock()->Drives[3].State = DriveState::Present;
  drives.Lock()->Drives[3].BytesAvailable = 123;
  drives.Lock()->Drives[3].Kind = DriveKind::Fixed;
  ClickCheckBox();
  ASSERT_TRUE(server.Listening());
  const platform::ServedPage first = server.Page();
  EXPECT_EQ(first.ContentType, kMetricsContentType);
  ScrapedPage scraped = ReadScrapedPage(first.Body);
  EXPECT_EQ(scraped.Value("tarvik_memory_physical_available_bytes"), "3000");
  EXPECT_EQ(scraped.Value(R"(tarvik_ping_sent_total{host="127.0.0.1",description="loopback"})"),
            "4");
  EXPECT_EQ(scraped.Value(R"(tarvik_drive_free_bytes{drive="C:",label="",serial="",type="fixed"})"),
            "123");
  EXPECT_EQ(scraped.Value(R"(tarvik_build_info{version="2.33 x64 426.9423"})"), "1");

  auto held = ping.Lock();
  held->Hosts[0].Sent = 9;
  system.Lock()->Memory->PhysicalAvailable = 2'000;
  std::future<platform::ServedPage> page = std::async(std::launch::async, server.Page);
  ASSERT_EQ(page.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  scraped = ReadScrapedPage(page.get().Body);
  EXPECT_EQ(scraped.Value(R"(tarvik_ping_sent_total{host="127.0.0.1",description="loopback"})"),
            "4");
  EXPECT_EQ(scraped.Value("tarvik_memory_physical_available_bytes"), "2000");
}

}  // namespace
}  // namespace tarvik
