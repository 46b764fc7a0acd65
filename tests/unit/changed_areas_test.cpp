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
