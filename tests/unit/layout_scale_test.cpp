#include "platform/layout_scale.h"

#include <gtest/gtest.h>

namespace tarvik::platform {
namespace {

// The main window's client area in base units, and the frames Wine gives a captioned window.
constexpr Size kMainClient{894, 564};
constexpr Size kFrame96{8, 27};
constexpr Size kFrame120{9, 33};
constexpr Size kFrame144{10, 38};

TEST(LayoutScale, TheLayoutTakesTheMonitorsDpiWhereItFitsAndTheLargestThatFitsElsewhere) {
  struct Case {
    const char* Name;
    Size Client;
    Size Frame;
    Size WorkArea;
    int MonitorDpi;
    int Expected;
  };
  const Case cases[] = {
      {"100 % on 1280x800 fits as it always did", kMainClient, kFrame96, {1280, 800}, 96, 96},
      {"200 % on 2560x1440 fits", kMainClient, {12, 50}, {2560, 1440}, 192, 192},
      // 564 x 129 / 96 = 757.9 -> 758 + 38 = 796; at 130 it would be 764 + 38 = 802.
      {"150 % on 1280x800 takes the tallest that fits",
       kMainClient,
       kFrame144,
       {1280, 800},
       144,
       129},
      {"exactly the room at 150 % keeps 150 %", kMainClient, kFrame144, {1351, 884}, 144, 144},
      {"one pixel less height gives up one DPI", kMainClient, kFrame144, {1351, 883}, 144, 143},
      {"one pixel less width gives up one DPI", kMainClient, kFrame144, {1350, 884}, 144, 143},
      // 1366x768 at 125 % less a 40-pixel taskbar: 564 x 118 / 96 = 693.3 -> 693 + 33 = 726.
      {"125 % on a laptop's work area", kMainClient, kFrame120, {1366, 728}, 120, 118},
      // The width decides: 894 x 108 / 96 = 1005.8 -> 1006 + 10 = 1016; at 109, 1025.
      {"150 % on 1024x768 is held by its width", kMainClient, kFrame144, {1024, 768}, 144, 108},
      {"never below the smallest readable layout", kMainClient, kFrame96, {700, 400}, 96, 77},
      {"a monitor below that keeps its own", kMainClient, kFrame96, {640, 400}, 72, 72},
      {"an empty work area changes nothing", kMainClient, kFrame144, {0, 0}, 144, 144},
      {"the mini window fits anywhere", {234, 86}, kFrame144, {1280, 800}, 144, 144},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LayoutDpiFor(c.Client, c.Frame, c.WorkArea, c.MonitorDpi), c.Expected) << c.Name;
}

TEST(LayoutScale, BoxesScaleByTheirEdgesSoNeighboursNeverOverlap) {
  struct Case {
    Rect Base;
    int Dpi;
    Rect Expected;
  };
  const Case cases[] = {
      {{4, 76, 567, 97}, 96, {4, 76, 567, 97}},
      // 571 x 1.5 = 856.5 and 173 x 1.5 = 259.5 round up to 857 and 260.
      {{4, 76, 567, 97}, 144, {6, 114, 851, 146}},
      {{573, 76, 309, 97}, 144, {860, 114, 463, 146}},
      {{4, 76, 567, 97}, 192, {8, 152, 1134, 194}},
      {{-3, -3, 6, 6}, 144, {-5, -5, 10, 10}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScaledBox(c.Base, c.Dpi), c.Expected) << c.Dpi;
  // Rounding never turns a longer length into a shorter one, and scaling up is undone exactly.
  for (int dpi = kSmallestLayoutDpi; dpi <= kHighestMonitorDpi; ++dpi) {
    for (int length = 0; length < 1500; ++length) {
      ASSERT_LE(ScaledLength(length, dpi), ScaledLength(length + 1, dpi)) << dpi << " " << length;
      if (dpi >= kBaseDpi) {
        ASSERT_EQ(UnscaledLength(ScaledLength(length, dpi), dpi), length) << dpi << " " << length;
      }
    }
  }
  EXPECT_EQ(PercentOfDpi(120), 125);
  EXPECT_EQ(PercentOfDpi(129), 134);
}

TEST(LayoutScale, AfterADpiChangeTheWindowKeepsTheSuggestedPlaceInsideTheWorkArea) {
  const Rect primary{0, 0, 1280, 800};
  const Rect second{1280, 0, 2560, 1400};
  struct Case {
    const char* Name;
    Rect Suggested;
    Size Outer;
    Rect WorkArea;
    Rect Expected;
  };
  const Case cases[] = {
      {"inside: the suggested place", {30, 2, 1351, 884}, {1211, 796}, primary, {30, 2, 1211, 796}},
      {"sticking out right and below: pulled in",
       {200, 100, 1351, 884},
       {1211, 796},
       primary,
       {69, 4, 1211, 796}},
      {"larger than the work area: its top left in it",
       {-40, -20, 1400, 900},
       {1400, 900},
       primary,
       {0, 0, 1400, 900}},
      {"on a second monitor, kept on it",
       {3500, 1000, 1800, 1180},
       {1800, 1180},
       second,
       {2040, 220, 1800, 1180}},
      {"no work area: the suggested place",
       {-40, -20, 600, 400},
       {500, 300},
       {},
       {-40, -20, 500, 300}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceAfterDpiChange(c.Suggested, c.Outer, c.WorkArea), c.Expected) << c.Name;
}

}  // namespace
}  // namespace tarvik::platform
