#include "monitors/ping/ping_header_painter.h"

#include <algorithm>

#include "monitors/ping/ping_row.h"
#include "monitors/ping/timeline_bar.h"
#include "text/date_format.h"

namespace tarvik {
namespace {

constexpr platform::Point kTextAt{4, 1};
constexpr int kSpanTop = 1;
constexpr int kSpanShift = 2;
constexpr Colour kTitles = Rgb(0, 0, 255);
constexpr Colour kSpanText = Rgb(0, 0, 0);
constexpr wchar_t kSpanPattern[] = L"%mm-%dd %hh:%ii:%ss";

void DrawTimeSpan(platform::Canvas& canvas, const PingHeaderStyle& style, const PingLayout& layout,
                  const PSys& host) {
  const std::wstring span = PingTimeSpanText(host, layout.TimelineWidth);
  if (span.empty())
    return;
  const int x =
      (layout.TimelineWidth - canvas.TextSize(span).Width) / 2 + layout.TimelineX + kSpanShift;
  canvas.Text({x, kSpanTop}, span, kSpanText, style.Back);
}

}  // namespace

std::wstring PingTimeSpanText(const PSys& host, int timelineWidth) {
  if (host.PV.empty())
    return {};
  const size_t shown = static_cast<size_t>(VisibleSampleCount(host.PV.size(), timelineWidth));
  const PValues& oldest = host.PV[host.PV.size() - std::max<size_t>(shown, 1)];
  std::wstring text = oldest.S != 0 ? FormatDate(kSpanPattern, oldest.S) : std::wstring();
  return text + L" - " + FormatDate(kSpanPattern, host.PV.back().S);
}

void DrawPingHeader(platform::Canvas& canvas, const PingHeaderStyle& style,
                    const PingLayout& layout, const PingList& hosts, const std::wstring& message,
                    Colour messageColour) {
  const platform::Size extent = canvas.Extent();
  canvas.FillBox({0, 0, extent.Width, extent.Height}, style.Back);
  canvas.SetFont(style.Font);
  const std::wstring titles = PingHeaderText();
  if (!message.empty()) {
    std::wstring padded = message;
    if (padded.size() < titles.size())
      padded.resize(titles.size(), L' ');
    canvas.Text(kTextAt, padded, messageColour, style.Back);
  } else if (!hosts.empty()) {
    canvas.Text(kTextAt, titles, kTitles, style.Back);
  }
  if (!hosts.empty())
    DrawTimeSpan(canvas, style, layout, hosts.front());
}

}  // namespace tarvik
