#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "metrics/exposition_writer.h"
#include "metrics/metrics_page.h"
#include "unit/metrics_page_reader.h"

namespace tarvik {
namespace {

MetricsReadings OneOfEach() {
  MetricsReadings readings;
  readings.Processors = {{37, 2600}, {5, 800}};
  readings.AverageLoadPercent = 21;
  readings.HighestMhz = 3400;
  readings.Memory = MemoryMetrics{17'179'869'184, 4'294'967'296, 34'359'738'368, 8'589'934'592};
  readings.BatteryPercent = 64;
  readings.OnMains = false;
  readings.SystemUptimeSeconds = 3723;
  readings.Drives = {{L"C:",
                      L"System",
                      L"1A2B-3C4D",
                      L"fixed",
                      true,
                      500'000'000'000,
                      123'456'789'012,
                      {1, 0, 0, 0}},
                     {L"E:", L"", L"", L"removable", false, 0, 0, {2, 1, 1, 3}}};
  readings.Adapters = {{L"Ethernet", L"00:1A:2B:3C:4D:5E", 5'000'000'000'000, 1'000'000, 40'000,
                        20'000, 3, 2, 1'000'000'000, 100'000'000, true}};
  readings.InternetConnected = true;
  readings.PingHosts = {{L"127.0.0.1", L"loopback", 12, 40, 2, false},
                        {L"10.0.0.9", L"", std::nullopt, 7, 7, true}};
  GpuMetrics card;
  card.Index = 0;
  card.Name = L"Fake Card A";
  card.TemperatureCelsius = 43;
  card.LoadPercent = 37;
  card.MemoryUsedBytes = 1'073'741'824;
  card.MemoryTotalBytes = 8'589'934'592;
  card.ClockMhz = 1500;
  card.PowerMilliwatts = 120'500;
  card.FanPercent = 41;
  card.PerformanceState = 2;
  GpuMetrics silent;
  silent.Index = 1;
  silent.Name = L"Fake Card B";
  silent.LoadPercent = 0;
  readings.Gpus = {card, silent};
  readings.Process = ProcessMetrics{12.5, 52'428'800, 1'765'000'000, 600};
  readings.Version = L"2.33 x64 426.9423";
  return readings;
}

TEST(MetricsPage, ServesEveryReadingInBaseUnitsWithItsLabels) {
  MetricsPage page;
  const ScrapedPage scraped = ReadScrapedPage(page.Build(OneOfEach()));
  ASSERT_TRUE(scraped.Problems.empty()) << scraped.Problems.front();
  const std::map<std::string, std::string> expected = {
      {R"(tarvik_processor_load_ratio{processor="0"})", "0.37"},
      {R"(tarvik_processor_load_ratio{processor="1"})", "0.05"},
      {"tarvik_processor_load_average_ratio", "0.21"},
      {R"(tarvik_processor_frequency_hertz{processor="0"})", "2600000000"},
      {"tarvik_processor_max_frequency_hertz", "3400000000"},
      {"tarvik_memory_physical_total_bytes", "17179869184"},
      {"tarvik_memory_physical_available_bytes", "4294967296"},
      {"tarvik_memory_page_file_total_bytes", "34359738368"},
      {"tarvik_memory_page_file_available_bytes", "8589934592"},
      {"tarvik_battery_charge_ratio", "0.64"},
      {"tarvik_power_on_mains", "0"},
      {"tarvik_system_uptime_seconds", "3723"},
      {R"(tarvik_drive_size_bytes{drive="C:",label="System",serial="1A2B-3C4D",type="fixed"})",
       "500000000000"},
      {R"(tarvik_drive_free_bytes{drive="C:",label="System",serial="1A2B-3C4D",type="fixed"})",
       "123456789012"},
      {R"(tarvik_drive_events_total{drive="E:",event="media_changed"})", "3"},
      {R"(tarvik_drive_events_total{drive="E:",event="relabelled"})", "1"},
      {R"(tarvik_network_receive_bytes_total{adapter="Ethernet",mac="00:1A:2B:3C:4D:5E"})",
       "5000000000000"},
      {R"(tarvik_network_transmit_packets_total{adapter="Ethernet",mac="00:1A:2B:3C:4D:5E"})",
       "20000"},
      {R"(tarvik_network_transmit_errors_total{adapter="Ethernet",mac="00:1A:2B:3C:4D:5E"})", "2"},
      {R"(tarvik_network_link_speed_bytes_per_second{adapter="Ethernet",mac="00:1A:2B:3C:4D:5E",direction="receive"})",
       "125000000"},
      {R"(tarvik_network_up{adapter="Ethernet",mac="00:1A:2B:3C:4D:5E"})", "1"},
      {"tarvik_internet_connected", "1"},
      {R"(tarvik_ping_rtt_seconds{host="127.0.0.1",description="loopback"})", "0.012"},
      {R"(tarvik_ping_sent_total{host="10.0.0.9",description=""})", "7"},
      {R"(tarvik_ping_lost_total{host="127.0.0.1",description="loopback"})", "2"},
      {R"(tarvik_ping_paused{host="10.0.0.9",description=""})", "1"},
      {R"(tarvik_gpu_temperature_celsius{gpu="0",name="Fake Card A"})", "43"},
      {R"(tarvik_gpu_load_ratio{gpu="1",name="Fake Card B"})", "0"},
      {R"(tarvik_gpu_memory_used_bytes{gpu="0",name="Fake Card A"})", "1073741824"},
      {R"(tarvik_gpu_clock_hertz{gpu="0",name="Fake Card A"})", "1500000000"},
      {R"(tarvik_gpu_power_watts{gpu="0",name="Fake Card A"})", "120.5"},
      {R"(tarvik_gpu_fan_ratio{gpu="0",name="Fake Card A"})", "0.41"},
      {R"(tarvik_gpu_performance_state{gpu="0",name="Fake Card A"})", "2"},
      {"process_cpu_seconds_total", "12.5"},
      {"process_resident_memory_bytes", "52428800"},
      {"process_start_time_seconds", "1765000000"},
      {"tarvik_uptime_seconds", "600"},
      {R"(tarvik_build_info{version="2.33 x64 426.9423"})", "1"},
  };
  for (const auto& [series, value] : expected)
    EXPECT_EQ(scraped.Value(series), value) << series;
  // What was not read is left out rather than served as 0: the lost drive's space, the failed
  // echo's time, the second card's temperature.
  for (const char* absent :
       {R"(tarvik_drive_free_bytes{drive="E:",label="",serial="",type="removable"})",
        R"(tarvik_ping_rtt_seconds{host="10.0.0.9",description=""})",
        R"(tarvik_gpu_temperature_celsius{gpu="1",name="Fake Card B"})"}) {
    EXPECT_EQ(scraped.Value(absent), "") << absent;
  }
  EXPECT_EQ(scraped.Types.at("tarvik_ping_sent_total"), "counter");
  EXPECT_EQ(scraped.Types.at("tarvik_drive_free_bytes"), "gauge");
}

TEST(MetricsPage, FamiliesWithoutReadingsAreLeftOut) {
  MetricsReadings readings;
  readings.Version = L"2.33";
  MetricsPage page;
  const ScrapedPage scraped = ReadScrapedPage(page.Build(readings));
  ASSERT_TRUE(scraped.Problems.empty()) << scraped.Problems.front();
  EXPECT_EQ(scraped.Types.size(), 1u);
  EXPECT_EQ(scraped.Value(R"(tarvik_build_info{version="2.33"})"), "1");
}

TEST(MetricsPage, LabelValuesCannotForgeALine) {
  const struct {
    std::wstring Read;
    std::string Served;
  } cases[] = {
      {L"Backup", "Backup"},
      {L"C:\\Users", "C:\\\\Users"},
      {L"say \"hi\"", "say \\\"hi\\\""},
      {L"two\nlines", "two\\nlines"},
      {L"evil\"} 1\ntarvik_up 0", "evil\\\"} 1\\ntarvik_up 0"},
      {L"cr\rtab\tbell\x07",
       "cr\xEF\xBF\xBDtab\xEF\xBF\xBD"
       "bell\xEF\xBF\xBD"},
      {L"Stra\u00DFe \u00FCber",
       "Stra\xC3\x9F"
       "e \xC3\xBC"
       "ber"},
      {std::wstring(300, L'x'), std::string(kMaxLabelCharacters, 'x')},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LabelValue(c.Read), c.Served) << c.Served;

  // A description full of the format's own characters still gives one well-formed line per series.
  MetricsReadings readings = OneOfEach();
  readings.PingHosts = {{L"127.0.0.1", L"a\\b\"c\nd\re", 5, 1, 0, false}};
  MetricsPage page;
  const ScrapedPage scraped = ReadScrapedPage(page.Build(readings));
  ASSERT_TRUE(scraped.Problems.empty()) << scraped.Problems.front();
  EXPECT_EQ(scraped.Value("tarvik_ping_sent_total{host=\"127.0.0.1\",description=\"a\\\\b\\\"c\\nd"
                          "\xEF\xBF\xBD"
                          "e\"}"),
            "1");
}

TEST(MetricsPage, ASeriesServedTwiceKeepsItsFirstReading) {
  MetricsReadings readings = OneOfEach();
  readings.PingHosts = {{L"127.0.0.1", L"same", 5, 10, 0, false},
                        {L"127.0.0.1", L"same", 9, 99, 9, false}};
  MetricsPage page;
  const std::string text = page.Build(readings);
  const ScrapedPage scraped = ReadScrapedPage(text);
  ASSERT_TRUE(scraped.Problems.empty()) << scraped.Problems.front();
  EXPECT_EQ(scraped.Value(R"(tarvik_ping_sent_total{host="127.0.0.1",description="same"})"), "10");
}

// Counts that restart (a host's data reset, an adapter that reconnected) still rise from page to
// page; a series the page left out starts afresh when it comes back.
TEST(MetricsPage, CountersOnlyRise) {
  const struct {
    const char* Name;
    std::vector<int64_t> Counts;  // -1: the host is not in the list for that page
    std::vector<std::string> Served;
  } cases[] = {
      {"steady", {3, 5, 9}, {"3", "5", "9"}},
      {"unchanged", {4, 4}, {"4", "4"}},
      {"reset by the user", {40, 42, 0, 3}, {"40", "42", "42", "45"}},
      {"restarted lower", {40, 10, 15}, {"40", "50", "55"}},
      {"gone and back", {40, -1, 2}, {"40", "", "2"}},
      {"damaged count", {5, -7}, {"5", "5"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MetricsPage page;
    for (size_t step = 0; step < c.Counts.size(); ++step) {
      MetricsReadings readings;
      if (c.Counts[step] != -1)
        readings.PingHosts = {{L"127.0.0.1", L"", 1, c.Counts[step], 0, false}};
      const ScrapedPage scraped = ReadScrapedPage(page.Build(readings));
      EXPECT_EQ(scraped.Value(R"(tarvik_ping_sent_total{host="127.0.0.1",description=""})"),
                c.Served[step])
          << "page " << step;
    }
  }
}

}  // namespace
}  // namespace tarvik
