#include <gtest/gtest.h>

#include <optional>

#include "fakes/pixel_canvas.h"
#include "monitors/ping/timeline_bar.h"

namespace tarvik {
namespace {

constexpr Colour kRed = Rgb(255, 0, 0), kYellow = Rgb(255, 255, 0), kBlue = Rgb(153, 204, 255),
                 kGrey = Rgb(128, 128, 128), kGreen = Rgb(0, 204, 0), kBlack = Rgb(0, 0, 0),
                 kBase = Rgb(96, 96, 96);

TEST(PingTimeline, BarRule) {
  const struct {
    const char* Name;
    int32_t Value;
    int Threshold;
    bool Comprehensive;
    std::optional<TimelineBar> Bar;
  } cases[] = {
      {"half the threshold on a 20-pixel row", 25, 50, true, TimelineBar{kGreen, 9}},
      {"share cut, not the threshold ratio", 30, 50, true, TimelineBar{kGreen, 11}},
      {"just below the threshold", 49, 50, true, TimelineBar{kGreen, 18}},
      {"at the threshold is slow", 50, 50, true, TimelineBar{kYellow, 19}},
      {"slow with the option off", 400, 50, false, TimelineBar{kYellow, 19}},
      {"quick with the option off", 25, 50, false, std::nullopt},
      {"0 ms draws nothing", 0, 50, true, std::nullopt},
      {"no reply", -1, 50, false, TimelineBar{kRed, 19}},
      {"resumed", -2, 50, false, TimelineBar{kBlue, 19}},
      {"paused", -4, 50, false, TimelineBar{kGrey, 19}},
      {"unknown marker", -3, 50, true, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TimelineBarFor(c.Value, {c.Threshold, c.Comprehensive}, 19), c.Bar) << c.Name;
}

TEST(PingTimeline, ShortHistoryStandsAtTheRightNewestLast) {
  fakes::PixelCanvas canvas(420, 24);
  std::deque<PValues> samples(200, PValues{0, 25});
  samples.front().T = kSampleResumed;
  samples.back().T = kSampleNoReply;
  DrawTimeline(canvas, {100, 2, 300, 19}, samples, {50, true});

  EXPECT_EQ(canvas.CountInColumn(99, kBlack), 0);
  EXPECT_EQ(canvas.CountInColumn(100, kBlack), 19);  // no sample this far left
  EXPECT_EQ(canvas.CountInColumn(199, kBlack), 19);
  EXPECT_EQ(canvas.CountInColumn(200, kBlue), 19);  // the oldest
  EXPECT_EQ(canvas.CountInColumn(201, kGreen), 9);
  EXPECT_EQ(canvas.At(201, 2 + 19 - 9), kGreen);  // rising from the base line
  EXPECT_EQ(canvas.At(201, 2 + 19 - 10), kBlack);
  EXPECT_EQ(canvas.CountInColumn(398, kGreen), 9);
  EXPECT_EQ(canvas.CountInColumn(399, kRed), 19);  // the newest
  EXPECT_EQ(canvas.CountInColumn(400, kBlack), 0);
  for (const int x : {100, 250, 399})
    EXPECT_EQ(canvas.At(x, 21), kBase) << x;
}

TEST(PingTimeline, LongHistoryShowsItsNewestSamples) {
  fakes::PixelCanvas canvas(20, 10);
  std::deque<PValues> samples(15, PValues{0, kSampleNoReply});
  for (size_t i = 10; i < samples.size(); ++i)
    samples[i].T = kSamplePaused;
  DrawTimeline(canvas, {0, 0, 10, 9}, samples, {50, false});
  EXPECT_EQ(canvas.CountInColumn(0, kRed), 9);
  EXPECT_EQ(canvas.CountInColumn(4, kRed), 9);
  EXPECT_EQ(canvas.CountInColumn(5, kGrey), 9);
  EXPECT_EQ(canvas.CountInColumn(9, kGrey), 9);
}

}  // namespace
}  // namespace tarvik
