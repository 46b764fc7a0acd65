#include "monitors/ping/ping_readouts.h"

#include <algorithm>

#include "monitors/ping/timeline_bar.h"
#include "text/date_format.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr wchar_t kLongDate[] = L"%yyyy-%mm-%dd  %hh:%ii:%ss";

// The address and description, ending in a blank so that what follows stands apart.
std::wstring HostName(const PSys& host) {
  if (host.Host.empty())
    return host.Addr + L" ";
  return host.Addr + L" (" + host.Host + L") ";
}

std::wstring ValueText(int32_t value) {
  if (value >= 0)
    return std::to_wstring(value) + Tr(L"ms");
  if (value == kSampleNoReply)
    return L"[" + Tr(L"Timed Out") + L"]";
  if (value == kSampleResumed)
    return L"[" + Tr(L"Ping Resumed") + L"]";
  if (value == kSamplePaused)
    return L"[" + Tr(L"Inactive") + L"]";
  return L"--";
}

std::wstring RangeText(const PSys& host) {
  if (host.Best <= -1 || host.Wors <= -1)
    return {};
  return L" " + Tr(L"Range") + L": " + std::to_wstring(host.Best) + L"-" +
         std::to_wstring(host.Wors);
}

}  // namespace

std::wstring TimelineReadout(const PSys& host, int mouseX, const PingLayout& layout) {
  const auto count = static_cast<int64_t>(host.PV.size());
  const int64_t width = layout.TimelineWidth;
  const int64_t index = mouseX - layout.TimelineX + count - width;
  // A history longer than the timeline is counted within the part shown.
  const int64_t hidden = std::max<int64_t>(count - width, 0);
  if (index < hidden || index >= count)
    return Tr(L"No data at mouse position");
  const int64_t position = index + 1 - hidden;
  const int64_t total = count - hidden;
  const PValues& sample = host.PV[static_cast<size_t>(index)];
  return Tr(L"Position") + L": " + std::to_wstring(position) + L"/" + std::to_wstring(total) +
         FormatDate(std::wstring(L" = ") + kLongDate + L" = ", sample.S) + HostName(host) +
         ValueText(sample.T) + RangeText(host);
}

std::optional<std::wstring> LastDownReadout(const PSys& host, int charColumn) {
  if (charColumn < kLastDownColumn || host.Down < 1)
    return std::nullopt;
  return HostName(host) + Tr(L"Last Down") + L": " + FormatDate(kLongDate, host.Down);
}

}  // namespace tarvik
