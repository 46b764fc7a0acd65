#include "monitors/ping/ping_row.h"

#include <algorithm>
#include <cstdint>

#include "monitors/system/text_shapes.h"
#include "text/decimal_text.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr size_t kReplyColumnWidth = 5;  // time, TTL and TOS each
constexpr size_t kPausedWidth = 3 * kReplyColumnWidth;
constexpr size_t kCountWidth = 7;  // received, lost and the lost share each
constexpr wchar_t kNeverLost[] = L"-      -";

constexpr Colour kTextNormal = Rgb(0, 0, 0);
constexpr Colour kTextDown = Rgb(255, 0, 0);
constexpr Colour kTextPaused = Rgb(165, 42, 42);
constexpr Colour kBackSelected = Rgb(153, 204, 255);

using system_text::RightAligned;

std::wstring AddressColumn(const PSys& host) {
  std::wstring text = host.Addr;
  if (!system_text::Trimmed(host.Host).empty())
    text += L" (" + host.Host + L")";
  text.resize(kPingAddressWidth, L' ');
  return text;
}

// A count column shows "-" where the count is 0.
std::wstring CountOrDash(int32_t value, size_t width) {
  return RightAligned(value == 0 ? std::wstring(L"-") : std::to_wstring(value), width);
}

std::wstring ReplyColumns(const PSys& host) {
  if (host.Actv != 1)
    return RightAligned(L"-- " + Tr(L"Paused") + L" --", kPausedWidth);
  const std::wstring time = host.Time > -1 ? std::to_wstring(host.Time) : std::wstring(L"-");
  return RightAligned(time, kReplyColumnWidth) + CountOrDash(host.PTTL, kReplyColumnWidth) +
         CountOrDash(host.PTOS, kReplyColumnWidth);
}

std::wstring LostShare(const PSys& host) {
  const auto lost = static_cast<uint64_t>(std::max(host.Lost, 0));
  const auto sent = static_cast<uint64_t>(std::max(host.Sent, 0));
  return DecimalText(lost * 100, sent, 1) + L"%";
}

std::wstring LostColumns(const PSys& host) {
  if (host.Lost == 0)
    return RightAligned(kNeverLost, 2 * kCountWidth);
  return RightAligned(host.Lost, kCountWidth) + RightAligned(LostShare(host), kCountWidth);
}

}  // namespace

std::wstring PingRowText(const PSys& host) {
  return AddressColumn(host) + ReplyColumns(host) + CountOrDash(host.Recv, kCountWidth) +
         LostColumns(host);
}

std::wstring PingHeaderText() {
  return Tr(L"IP Address (Host Name)               Time(ms)  TTL  TOS   Recv   Lost  Lost%");
}

PingRowColours PingRowColoursOf(const PSys& host, Colour listBack) {
  Colour text = kTextNormal;
  if (host.Actv != 1)
    text = kTextPaused;
  else if (host.Last == -1)
    text = kTextDown;
  return {.Text = text, .Back = host.HiLi == 1 ? kBackSelected : listBack};
}

}  // namespace tarvik
