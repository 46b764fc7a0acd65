#include "ui/graph_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "text/date_format.h"
#include "text/decimal_text.h"

namespace tarvik {
namespace {

using platform::Point;
using platform::Rect;
using platform::Size;

constexpr int kMaxDecimals = 6;
// Rate graphs past this many KB label their scale in MB.
constexpr int kMegabyteLabelsFrom = 4001;
constexpr int kTitleBoxMargin = 2;  // each side of a second or third title

struct Layout {
  int Width = 0;
  int Height = 0;
  Size Label;  // a time label's box: "00:00" and a pixel round it
};

// The automatic count or the set one; never below one, so the grid always has its two edges,
// and never more than the pixels it spans, so a wild setting cannot stall the drawing.
int Divisions(int set, int automatic, int span) {
  return std::clamp(set > 0 ? set : automatic, 1, std::max(1, span - 1));
}

void FillLabelBox(platform::Canvas& canvas, const GraphRecord& record, const Rect& box,
                  Point textAt, const std::wstring& text) {
  canvas.FillBox(box, record.OuterGrid);
  canvas.TextTransparent(textAt, text, record.Background);
}

void DrawTimeGrid(platform::Canvas& canvas, const GraphRecord& record, const Layout& layout) {
  const int automatic =
      static_cast<int>(std::lround(layout.Width / (std::max(1, layout.Label.Width) * 1.25)));
  const int n = Divisions(record.TimeDivisions, automatic, layout.Width);
  const auto count = static_cast<int64_t>(record.Samples.size());
  for (int i = 0; i <= n; ++i) {
    const int x = static_cast<int>(static_cast<int64_t>(layout.Width - 1) * i / n);
    const bool edge = i == 0 || i == n;
    canvas.Line({x, 0}, {x, layout.Height - 1}, edge ? record.OuterGrid : record.InnerGrid);
    if (edge || record.HideTimeLabels)
      continue;
    // The newest sample stands in the last column, one sample per column before it.
    const int64_t position = count + x - layout.Width;
    if (position < 0 || position >= count)
      continue;
    const std::wstring text =
        FormatDate(L"%hh:%ii", record.Samples[static_cast<size_t>(position)].Date);
    const Size textSize = canvas.TextSize(text);
    const int top = layout.Height - layout.Label.Height;
    FillLabelBox(canvas, record,
                 {x - layout.Label.Width / 2, top, layout.Label.Width, layout.Label.Height},
                 {x - textSize.Width / 2, top + 1}, text);
  }
}

// maximum × (m − i) / m with the record's decimals and the unit; scales in KB read in MB once
// they pass 4000 KB.
std::wstring ValueLabel(const GraphRecord& record, std::wstring_view unit, int64_t numerator,
                        int64_t denominator) {
  const int decimals = std::clamp(record.Decimals, 0, kMaxDecimals);
  const std::wstring sign = numerator < 0 ? L"-" : L"";
  const auto magnitude = static_cast<uint64_t>(numerator < 0 ? -numerator : numerator);
  if (unit == L"KB" && record.Maximum >= kMegabyteLabelsFrom) {
    return sign + DecimalText(magnitude, static_cast<uint64_t>(denominator) * 1024, decimals) +
           L"MB";
  }
  return sign + DecimalText(magnitude, static_cast<uint64_t>(denominator), decimals) +
         std::wstring(unit);
}

void DrawValueGrid(platform::Canvas& canvas, const GraphRecord& record, std::wstring_view unit,
                   const Layout& layout) {
  const int m = Divisions(record.ValueDivisions,
                          layout.Height / std::max(1, 2 * layout.Label.Height), layout.Height);
  for (int i = 0; i <= m; ++i) {
    const int y = static_cast<int>(static_cast<int64_t>(layout.Height - 1) * i / m);
    if (i == 0 || i == m)
      canvas.Line({0, y}, {layout.Width - 1, y}, record.OuterGrid);
    else
      canvas.Line({1, y}, {layout.Width - 2, y}, record.InnerGrid);
    // The top percent label would only repeat the title's line; percent graphs leave it out.
    if (i == m || record.HideValueLabels || (unit == L"%" && i < 1))
      continue;
    const std::wstring text =
        ValueLabel(record, unit, static_cast<int64_t>(record.Maximum) * (m - i), m);
    canvas.TextTransparent({2, y + 1}, text, record.OuterGrid);
  }
}

void DrawTitles(platform::Canvas& canvas, const GraphRecord& record, const GraphTitles& titles,
                const Layout& layout) {
  if (!titles.First.empty()) {
    const Size size = canvas.TextSize(titles.First);
    canvas.TextTransparent({(layout.Width - size.Width) / 2, 1}, titles.First, record.OuterGrid);
  }
  const std::wstring* boxed[] = {&titles.Second, &titles.Third};
  for (int line = 1; line <= 2; ++line) {
    const std::wstring& text = *boxed[line - 1];
    if (text.empty())
      continue;
    const Size size = canvas.TextSize(text);
    const int boxWidth = size.Width + 2 * kTitleBoxMargin;
    const int left = (layout.Width - boxWidth) / 2;
    const int top = 1 + line * layout.Label.Height;
    FillLabelBox(canvas, record, {left, top, boxWidth, size.Height}, {left + kTitleBoxMargin, top},
                 text);
  }
}

// Pixel rows a value stands above the bottom, at most the whole height but the top grid line.
int BarHeight(float value, int maximum, int height) {
  const double rows = static_cast<double>(height - 1) * value / maximum;
  if (std::isnan(rows) || rows < 0.5)
    return 0;
  if (rows >= height - 1)
    return height - 1;
  return static_cast<int>(std::lround(rows));
}

void DrawSeries(platform::Canvas& canvas, const GraphRecord& record, const Layout& layout) {
  if (record.Maximum <= 0)
    return;
  // No previous point: the column to the right had no bar (or there is none).
  constexpr int kNoTop = -1;
  int previousTop = kNoTop;
  auto sample = record.Samples.rbegin();
  for (int x = layout.Width - 1; x >= 1 && sample != record.Samples.rend(); --x, ++sample) {
    const int h = BarHeight(sample->Value, record.Maximum, layout.Height);
    if (h < 1) {
      previousTop = kNoTop;
      continue;
    }
    const int top = layout.Height - h;
    canvas.FillBoxAlpha({x, top, 1, h}, record.Line, kGraphFillAlpha);
    if (previousTop == kNoTop || previousTop == top)
      canvas.Pixel({x, top}, record.Line);
    else
      canvas.Line({x, top}, {x + 1, previousTop}, record.Line);
    previousTop = top;
  }
}

}  // namespace

void DrawGraph(platform::Canvas& canvas, const GraphRecord& record, std::wstring_view unit,
               const GraphTitles& titles) {
  const Size extent = canvas.Extent();
  canvas.FillBox({0, 0, extent.Width, extent.Height}, record.Background);
  // Too small to hold a grid: the background is all there is to show.
  if (extent.Width < 2 || extent.Height < 2)
    return;
  canvas.SetFont(record.Font);
  const Size clock = canvas.TextSize(L"00:00");
  const Layout layout{extent.Width, extent.Height, {clock.Width + 2, clock.Height + 2}};
  DrawTimeGrid(canvas, record, layout);
  DrawValueGrid(canvas, record, unit, layout);
  DrawTitles(canvas, record, titles, layout);
  DrawSeries(canvas, record, layout);
}

}  // namespace tarvik
