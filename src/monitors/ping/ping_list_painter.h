#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitors/ping/ping_host.h"
#include "monitors/ping/ping_layout.h"
#include "monitors/ping/ping_row.h"
#include "monitors/ping/timeline_bar.h"
#include "platform/canvas.h"

namespace tarvik {

struct PingPaintStyle {
  platform::FontId Font = platform::kNoFont;
  Colour ListBack = 0;
  TimelineStyle Timeline;
  bool operator==(const PingPaintStyle&) const = default;
};

struct PingPaintResult {
  int UpCount = 0;    // active hosts whose last echo was answered, over the whole list
  int DownCount = 0;  // active hosts whose last echo failed, over the whole list
  int RowsDrawn = 0;  // rows drawn or cleared on the canvas by this paint
};

// Paints the ping table on a canvas only as tall as the visible part of the list: row `firstRow`
// (0-based) at the top, each further row RowHeight lower, down to the canvas's bottom. The
// painter remembers what each visible row shows and draws again only the rows whose text,
// colours or visible samples changed; another layout, scroll position, canvas size or style
// draws everything.
class PingListPainter {
 public:
  // Also writes every host's CFor and CBak.
  PingPaintResult Paint(platform::Canvas& canvas, PingList& hosts, const PingLayout& layout,
                        int firstRow, const PingPaintStyle& style);
  // The next paint draws everything, for a canvas that was cleared or replaced.
  void Forget();

 private:
  struct Row {
    std::wstring Text;
    PingRowColours Colours;
    uint64_t Samples = 0;  // fingerprint of the samples the timeline shows
    bool operator==(const Row&) const = default;
  };
  struct Frame {
    PingLayout Layout;
    int FirstRow = 0;
    platform::Size Extent;
    PingPaintStyle Style;
    bool operator==(const Frame&) const = default;
  };

  void Start(platform::Canvas& canvas, const Frame& frame);
  static void DrawRow(platform::Canvas& canvas, const Frame& frame, int slot, const Row& row,
                      const PSys& host);
  static void ClearRow(platform::Canvas& canvas, const Frame& frame, int slot);

  std::optional<Frame> frame_;
  std::vector<std::optional<Row>> shown_;  // per visible slot; empty where no row stands
};

}  // namespace tarvik
