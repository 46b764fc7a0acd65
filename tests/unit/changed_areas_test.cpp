#include "platform/changed_areas.h"

#include <gtest/gtest.h>

namespace tarvik::platform {
namespace {

TEST(ChangedRows, SpansTheRowsThatDifferOrCameOrWent) {
  using Rows = std::vector<std::wstring>;
  struct Case {
    Rows Before;
    Rows After;
    RowSpan Expected;
  };
  const Case cases[] = {
      {{}, {}, {0, 0}},
      {{L"a", L"b"}, {L"a", L"b"}, {2, 2}},
      {{L"a", L"b", L"c"}, {L"x", L"b", L"c"}, {0, 1}},  // first row only
      {{L"a", L"b", L"c"}, {L"a", L"b", L"x"}, {2, 3}},  // last row only
      {{L"a", L"b", L"c"}, {L"a", L"x", L"y"}, {1, 3}},
      {{L"h", L"l", L"1", L"2"}, {L"h", L"l", L"0", L"1"}, {2, 4}},  // a row inserted, last dropped
      {{L"a"}, {L"a", L"b"}, {1, 2}},                                // a row added at the end
      {{L"a", L"b"}, {L"a"}, {1, 2}},                                // a row removed at the end
      {{L"a", L"b"}, {}, {0, 2}},
  };
  for (const Case& c : cases) {
    const RowSpan span = ChangedRows(c.Before, c.After);
    EXPECT_EQ(span, c.Expected) << c.Before.size() << " -> " << c.After.size() << ": got "
                                << span.First << ".." << span.Last;
  }
}

TEST(ChangedRows, OnlyTheRowsInViewAreDrawn) {
  struct Case {
    RowSpan Changed;
    size_t Top;
    size_t Shown;
    RowSpan Expected;
  };
  const Case cases[] = {
      {{2, 101}, 0, 6, {2, 6}},  // a history row inserted: the rows below it in view
      {{2, 101}, 95, 6, {95, 101}}, {{0, 1}, 0, 6, {0, 1}},
      {{0, 1}, 1, 6, {}},      // the changed row is scrolled out above
      {{6, 9}, 0, 6, {}},      // the first row below the view
      {{5, 9}, 0, 6, {5, 6}},  // the last row in view
      {{2, 4}, 0, 0, {}},      // a list too small to show a row
  };
  for (const Case& c : cases) {
    const RowSpan span = ShownRows(c.Changed, c.Top, c.Shown);
    EXPECT_EQ(span.Empty() ? RowSpan{} : span, c.Expected)
        << c.Changed.First << ".." << c.Changed.Last << " from " << c.Top << ": got " << span.First
        << ".." << span.Last;
  }
}

TEST(ChangedBox, HoldsEveryChangedPixelAndNoMore) {
  constexpr Size kSize{4, 3};
  struct Case {
    std::vector<Point> Changed;
    Rect Expected;
  };
  const Case cases[] = {
      {{}, {0, 0, 0, 0}},
      {{{0, 0}}, {0, 0, 1, 1}},
      {{{3, 2}}, {3, 2, 1, 1}},  // the last pixel of the last row
      {{{1, 0}, {2, 2}}, {1, 0, 2, 3}},
      {{{3, 0}, {0, 1}}, {0, 0, 4, 2}},
      {{{0, 2}, {3, 2}, {1, 1}}, {0, 1, 4, 2}},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> before(12, 0x00FFFFFFu);
    std::vector<uint32_t> after = before;
    for (const Point& at : c.Changed)
      after[static_cast<size_t>(at.Y * kSize.Width + at.X)] = 0x00FF0000u;
    const Rect box = ChangedBox(before.data(), after.data(), kSize);
    EXPECT_EQ(box, c.Expected) << c.Changed.size() << " changed: got " << box.X << "," << box.Y
                               << " " << box.Width << "x" << box.Height;
  }
}

}  // namespace
}  // namespace tarvik::platform
