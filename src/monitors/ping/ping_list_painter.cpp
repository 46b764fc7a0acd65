#include "monitors/ping/ping_list_painter.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr int kTextX = 2;
constexpr int kTextTop = 1;

// FNV-1a over the values a timeline this wide shows: equal values draw equal pixels.
uint64_t SampleFingerprint(const std::deque<PValues>& samples, int width) {
  constexpr uint64_t kPrime = 1099511628211ull;
  uint64_t hash = 14695981039346656037ull;
  const size_t shown = static_cast<size_t>(VisibleSampleCount(samples.size(), width));
  for (size_t i = samples.size() - shown; i < samples.size(); ++i) {
    hash ^= static_cast<uint32_t>(samples[i].T);
    hash *= kPrime;
  }
  return (hash ^ shown) * kPrime;
}

void CountHost(const PSys& host, PingPaintResult& result) {
  if (host.Actv != 1)
    return;
  if (host.Time >= 0)
    ++result.UpCount;
  else
    ++result.DownCount;
}

}  // namespace

PingPaintResult PingListPainter::Paint(platform::Canvas& canvas, PingList& hosts,
                                       const PingLayout& layout, int firstRow,
                                       const PingPaintStyle& style) {
  PingPaintResult result;
  for (PSys& host : hosts) {
    const PingRowColours colours = PingRowColoursOf(host, style.ListBack);
    host.CFor = static_cast<int32_t>(colours.Text);
    host.CBak = static_cast<int32_t>(colours.Back);
    CountHost(host, result);
  }
  const Frame frame{layout, std::max(firstRow, 0), canvas.Extent(), style};
  if (frame_ != frame)
    Start(canvas, frame);
  canvas.SetFont(style.Font);
  for (size_t slot = 0; slot < shown_.size(); ++slot) {
    const size_t index = static_cast<size_t>(frame.FirstRow) + slot;
    std::optional<Row>& shown = shown_[slot];
    if (index >= hosts.size()) {
      if (shown) {
        ClearRow(canvas, frame, static_cast<int>(slot));
        shown.reset();
        ++result.RowsDrawn;
      }
      continue;
    }
    const PSys& host = hosts[index];
    Row row{PingRowText(host), PingRowColoursOf(host, style.ListBack),
            SampleFingerprint(host.PV, layout.TimelineWidth)};
    if (shown != row) {
      DrawRow(canvas, frame, static_cast<int>(slot), row, host);
      shown = std::move(row);
      ++result.RowsDrawn;
    }
  }
  return result;
}

void PingListPainter::Forget() {
  frame_.reset();
}

void PingListPainter::Start(platform::Canvas& canvas, const Frame& frame) {
  canvas.FillBox({0, 0, frame.Extent.Width, frame.Extent.Height}, frame.Style.ListBack);
  frame_ = frame;
  const int rowHeight = frame.Layout.RowHeight;
  const int slots = rowHeight > 0 ? (frame.Extent.Height + rowHeight - 1) / rowHeight : 0;
  shown_.assign(static_cast<size_t>(std::max(slots, 0)), std::nullopt);
}

void PingListPainter::ClearRow(platform::Canvas& canvas, const Frame& frame, int slot) {
  const int rowHeight = frame.Layout.RowHeight;
  canvas.FillBox({0, rowHeight * slot, frame.Extent.Width, rowHeight}, frame.Style.ListBack);
}

void PingListPainter::DrawRow(platform::Canvas& canvas, const Frame& frame, int slot,
                              const Row& row, const PSys& host) {
  ClearRow(canvas, frame, slot);
  const PingLayout& layout = frame.Layout;
  const int top = layout.RowHeight * slot;
  canvas.Text({kTextX, top + kTextTop}, row.Text, row.Colours.Text, row.Colours.Back);
  DrawTimeline(canvas, {layout.TimelineX, top, layout.TimelineWidth, layout.RowHeight - 1}, host.PV,
               frame.Style.Timeline);
}

}  // namespace tarvik
