#pragma once

#include <string>

#include "monitors/ping/ping_host.h"
#include "monitors/ping/ping_layout.h"
#include "platform/canvas.h"

namespace tarvik {

struct PingHeaderStyle {
  platform::FontId Font = platform::kNoFont;
  Colour Back = 0;
};

// The span of the host's samples a timeline `timelineWidth` wide shows:
// "%mm-%dd %hh:%ii:%ss - %mm-%dd %hh:%ii:%ss" (the oldest shown, left out while its time is
// unknown, then the newest); empty without samples.
[[nodiscard]] std::wstring PingTimeSpanText(const PSys& host, int timelineWidth);

// Clears the header canvas and draws the message in its colour, padded to the column titles'
// length, or without a message the column titles in blue when the list holds a host. Over the
// timelines stands the time span of the first host's visible samples.
void DrawPingHeader(platform::Canvas& canvas, const PingHeaderStyle& style,
                    const PingLayout& layout, const PingList& hosts, const std::wstring& message,
                    Colour messageColour);

}  // namespace tarvik
