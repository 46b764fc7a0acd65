#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>

#include "settings/metrics_endpoint.h"
#include "settings_fixture.h"

namespace tarvik {
namespace {

TEST(MetricsEndpoint, OnlyAnIpv4AddressWithAPortInRangeReads) {
  const struct {
    const wchar_t* Text;
    std::optional<MetricsEndpoint> Read;
  } cases[] = {
      {L"127.0.0.1:9184", MetricsEndpoint{0x0100007F, 9184}},
      {L"  0.0.0.0:80 ", MetricsEndpoint{0, 80}},
      {L"192.168.1.20", MetricsEndpoint{0x1401A8C0, 9184}},
      {L"255.255.255.255:65535", MetricsEndpoint{0xFFFFFFFF, 65535}},
      {L"127.0.0.1:0", std::nullopt},
      {L"127.0.0.1:65536", std::nullopt},
      {L"127.0.0.1:", std::nullopt},
      {L"127.0.0.256:9184", std::nullopt},
      {L"127.0.0:9184", std::nullopt},
      {L"127.0.0.1.5:9184", std::nullopt},
      {L"127.0.0.0001:9184", std::nullopt},
      {L"127.0.-0.1:9184", std::nullopt},
      {L"localhost:9184", std::nullopt},
      {L"[::1]:9184", std::nullopt},
      {L"127.0.0.1:91a4", std::nullopt},
      {L"127.0.0.1:9184:1", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseMetricsEndpoint(c.Text), c.Read) << std::string(c.Text, c.Text + wcslen(c.Text));
  EXPECT_EQ(MetricsEndpointText({0x1401A8C0, 9200}), L"192.168.1.20:9200");
  EXPECT_TRUE(IsLoopback({0xFE00007F, 1}));
  EXPECT_FALSE(IsLoopback({0, 9184}));
}

// The settings file's key switches the page on with its address, and is written only while it is
// on; a value that does not read leaves it off and says so.
TEST(MetricsEndpoint, TheSettingsFileKeyRoundTrips) {
  const struct {
    const char* Line;
    bool On;
    MetricsState State;
    const wchar_t* Written;
  } cases[] = {
      {"Metrics = 0.0.0.0:9200\r\n", true, MetricsState::Off, L"0.0.0.0:9200"},
      {"Metrics = 127.0.0.1\r\n", true, MetricsState::Off, L"127.0.0.1:9184"},
      {"Metrics = \r\n", false, MetricsState::Off, L""},
      {"", false, MetricsState::Off, L""},
      {"Metrics = pc42:9184\r\n", false, MetricsState::AddressRefused, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    testing::SettingsFixture f;
    f.Options.Set(opt::MetricsOn, 1);
    static_cast<void>(ApplySettingsFileText("[Tarvik]\r\n" + std::string(c.Line), f.Context));
    EXPECT_EQ(f.Options.IsOn(opt::MetricsOn), c.On);
    EXPECT_EQ(f.Options.Get(opt::MetricsState), static_cast<int32_t>(c.State));
    EXPECT_EQ(CurrentSettingsTexts(f.Context).Metrics, c.Written);
    const std::string file =
        SettingsFileText(CurrentSettingsTexts(f.Context), f.kProgramFolder, false);
    EXPECT_EQ(file.find("Metrics = ") != std::string::npos, c.On) << file;
  }
  // Switched off, the address stays for switching on again in the same run.
  testing::SettingsFixture f;
  static_cast<void>(ApplySettingsFileText("[Tarvik]\r\nMetrics = 10.1.2.3:9100\r\n", f.Context));
  f.Options.Set(opt::MetricsOn, 0);
  EXPECT_EQ(MetricsEndpointOf(f.Options), (MetricsEndpoint{0x0302010A, 9100}));
  EXPECT_EQ(MetricsEndpointOf(testing::SettingsFixture().Options), kDefaultMetricsEndpoint);
}

}  // namespace
}  // namespace tarvik
