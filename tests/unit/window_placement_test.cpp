#include <gtest/gtest.h>

#include "ui/window_placement.h"

namespace tarvik {
namespace {

using platform::Point;

constexpr platform::Size kDesktop{1280, 800};
constexpr platform::Rect kWholeDesktop{0, 0, 1280, 800};

TEST(WindowPlacement, TheMiniWindowReopensOnTheDesktop) {
  struct Case {
    const char* Name;
    Point Saved;
    Point Expected;
  };
  // Height 84: the fallback corner is x = 1280 - 241, y = 800 - 234 - 84.
  const Case cases[] = {
      {"saved position kept", {300, 200}, {300, 200}},
      {"unset position", {0, 0}, {1039, 482}},
      {"past the right edge", {1100, 200}, {1039, 200}},
      {"past the bottom", {300, 750}, {300, 482}},
      {"negative coordinates", {-500, -20}, {1039, 482}},
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(MiniWindowStartPosition(entry.Saved, 84, kDesktop), entry.Expected) << entry.Name;
  }
}

TEST(WindowPlacement, TheMainWindowIsClampedAndUnsetCoordinatesKeepTheCurrentOne) {
  const platform::Size window{900, 590};
  EXPECT_EQ(MainWindowStartPosition({50, 60}, {190, 105}, window, kWholeDesktop), (Point{50, 60}));
  EXPECT_EQ(MainWindowStartPosition({0, 60}, {190, 105}, window, kWholeDesktop), (Point{190, 60}));
  EXPECT_EQ(MainWindowStartPosition({2000, 2000}, {190, 105}, window, kWholeDesktop),
            (Point{380, 210}));
  EXPECT_EQ(MainWindowStartPosition({50, 60}, {0, 0}, {1400, 900}, kWholeDesktop), (Point{0, 0}));
}

TEST(WindowPlacement, TheMainWindowOpensInsideTheWorkAreaOfItsMonitor) {
  struct Case {
    const char* Name;
    platform::Point Saved;
    platform::Size Window;
    platform::Rect Work;
    Point Expected;
  };
  const platform::Size window{900, 590};
  const platform::Rect bottomBar{0, 0, 1280, 760};
  const platform::Rect leftBar{48, 0, 1232, 800};
  const platform::Rect second{1280, 0, 1366, 728};  // 1366 x 768 at 125 %, bar below
  const Case cases[] = {
      {"fits", {50, 60}, window, bottomBar, {50, 60}},
      {"last row above the bar", {50, 170}, window, bottomBar, {50, 170}},
      {"one row into the bar", {50, 171}, window, bottomBar, {50, 170}},
      {"under a left bar", {10, 60}, window, leftBar, {48, 60}},
      {"past the right edge", {2000, 60}, window, leftBar, {380, 60}},
      {"on the second monitor", {1500, 100}, window, second, {1500, 100}},
      {"taller than the work area", {1300, 300}, {900, 1000}, second, {1300, 0}},
      {"wider than the work area", {1300, 10}, {1500, 590}, second, {1280, 10}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MainWindowStartPosition(c.Saved, {100, 100}, c.Window, c.Work), c.Expected) << c.Name;
  }
}

TEST(WindowPlacement, KeyboardStepsClampExceptSinglePixelsPastTheFarEdges) {
  const platform::Size window{240, 110};
  EXPECT_EQ(NudgeMiniWindow({5, 5}, {-10, 0}, window, kDesktop).Position, (Point{0, 5}));
  EXPECT_EQ(NudgeMiniWindow({0, 0}, {0, -1}, window, kDesktop).Position, (Point{0, 0}));
  EXPECT_FALSE(NudgeMiniWindow({0, 0}, {0, -1}, window, kDesktop).Refused);
  EXPECT_EQ(NudgeMiniWindow({1035, 5}, {10, 0}, window, kDesktop).Position, (Point{1040, 5}));
  EXPECT_TRUE(NudgeMiniWindow({1040, 5}, {1, 0}, window, kDesktop).Refused);
  EXPECT_TRUE(NudgeMiniWindow({5, 690}, {0, 1}, window, kDesktop).Refused);
  // A window left beyond the edge (the desktop shrank) may still step back.
  const NudgeResult back = NudgeMiniWindow({1200, 5}, {-1, 0}, window, kDesktop);
  EXPECT_FALSE(back.Refused);
  EXPECT_EQ(back.Position, (Point{1040, 5}));
}

}  // namespace
}  // namespace tarvik
