#include <gtest/gtest.h>

#include "fakes/pixel_canvas.h"

#include "monitors/ping/ping_copy_text.h"
#include "monitors/ping/ping_indicator.h"
#include "monitors/ping/ping_row.h"
#include "monitors/ping/timeline_bar.h"
#include "text/translation.h"

namespace tarvik {
namespace {

PSys Host(std::wstring description, int32_t time, int32_t sent, int32_t recv, int32_t lost) {
  PSys host;
  host.Addr = L"10.0.0.1";
  host.Host = std::move(description);
  host.Time = time, host.Sent = sent, host.Recv = recv, host.Lost = lost, host.PTTL = 64;
  return host;
}

TEST(PingRow, TextColumns) {
  LoadTranslations(kEnglish);
  const std::wstring address = L"10.0.0.1" + std::wstring(32, L' ');
  PSys paused = Host(L"", 5, 8, 0, 1);
  paused.Actv = 0;
  const struct {
    PSys Host;
    std::wstring Text;
  } cases[] = {
      {Host(L"  ", 0, 0, 0, 0), address + L"    0   64    -      -      -      -"},
      {Host(L"gw", 12, 4, 4, 0),
       L"10.0.0.1 (gw)" + std::wstring(27, L' ') + L"   12   64    -      4      -      -"},
      {Host(std::wstring(41, L'x'), 0, 0, 0, 0),
       L"10.0.0.1 (" + std::wstring(30, L'x') + L"    0   64    -      -      -      -"},
      {Host(L"", -1, 3, 1, 2), address + L"    -   64    -      1      2  66.7%"},
      {paused, address + L"   -- Paused --      -      1  12.5%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PingRowText(c.Host), c.Text);
    EXPECT_EQ(PingRowText(c.Host).size(), PingHeaderText().size());
  }
  PingList two = {cases[0].Host, cases[3].Host};
  EXPECT_EQ(PingCopyText(two), PingHeaderText() + L"\r\n" + std::wstring(76, L'-') + L"\r\n" +
                                   cases[0].Text + L"\r\n" + cases[3].Text + L"\r\n");
}

TEST(PingRow, IndicatorByDigitCount) {
  const struct {
    int Up, Down;
    std::optional<std::wstring> Text;
  } cases[] = {
      {1, 2, L" 1\u25B2 2\u25BC  "},     {12, 3, L" 12\u25B2 3\u25BC "},
      {12, 34, L" 12\u25B2 34\u25BC"},   {123, 45, L"123\u25B2 45\u25BC"},
      {1000, 24, L"1000\u25B224\u25BC"}, {1024, 100, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpDownIndicatorText(c.Up, c.Down), c.Text) << c.Up << " " << c.Down;
}

constexpr Colour kRed = Rgb(255, 0, 0), kYellow = Rgb(255, 255, 0), kBlue = Rgb(153, 204, 255),
                 kGrey = Rgb(128, 128, 128), kGreen = Rgb(0, 204, 0), kBlack = Rgb(0, 0, 0);

TEST(PingRow, BarRule) {
  const struct {
    int32_t Value;
    int Threshold;
    bool Comprehensive;
    std::optional<TimelineBar> Bar;
  } cases[] = {
      {25, 50, true, TimelineBar{kGreen, 9}},  // h / (threshold / value), cut at the end
      {30, 50, true, TimelineBar{kGreen, 11}},
      {49, 50, true, TimelineBar{kGreen, 18}},
      {50, 50, true, TimelineBar{kYellow, 19}},
      {400, 50, false, TimelineBar{kYellow, 19}},
      {25, 50, false, std::nullopt},
      {0, 50, true, std::nullopt},
      {-1, 50, false, TimelineBar{kRed, 19}},
      {-2, 50, false, TimelineBar{kBlue, 19}},
      {-4, 50, false, TimelineBar{kGrey, 19}},
      {-3, 50, true, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TimelineBarFor(c.Value, {c.Threshold, c.Comprehensive}, 19), c.Bar) << c.Value;
}

TEST(PingRow, NewestSampleAtTheRight) {
  fakes::PixelCanvas canvas(420, 24);
  std::deque<PValues> samples(200, PValues{0, 25});
  samples.front().T = kSampleResumed;
  samples.back().T = kSampleNoReply;
  DrawTimeline(canvas, {100, 2, 300, 19}, samples, {50, true});
  const struct {
    int X;
    Colour Paint;
    int Pixels;
  } columns[] = {{99, kBlack, 0},  {100, kBlack, 19}, {199, kBlack, 19}, {200, kBlue, 19},
                 {201, kGreen, 9}, {398, kGreen, 9},  {399, kRed, 19},   {400, kBlack, 0}};
  for (const auto& c : columns)
    EXPECT_EQ(canvas.CountInColumn(c.X, c.Paint), c.Pixels) << c.X;
  EXPECT_EQ(canvas.At(201, 2 + 19 - 9), kGreen);  // standing on the base line
  EXPECT_EQ(canvas.At(250, 21), Rgb(96, 96, 96));

  // A longer history shows its newest samples.
  for (size_t i = 0; i < 100; ++i)
    samples.push_back({0, kSamplePaused});
  DrawTimeline(canvas, {100, 2, 150, 19}, samples, {50, true});
  EXPECT_EQ(canvas.CountInColumn(100, kGreen), 9);
  EXPECT_EQ(canvas.CountInColumn(149, kRed), 19);
  EXPECT_EQ(canvas.CountInColumn(150, kGrey), 19);
}

}  // namespace
}  // namespace tarvik
