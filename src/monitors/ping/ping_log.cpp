#include "monitors/ping/ping_log.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/version.h"
#include "text/decimal_text.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";
constexpr std::wstring_view kBlanks = L" \t";
constexpr int kPercentDecimals = 4;
constexpr size_t kIndexDigits = 3;
constexpr size_t kSampleWidth = 6;
// The message names the host in at most this many characters.
constexpr size_t kMessageNameLength = 40;

void AppendLine(std::wstring& text, std::wstring_view line) {
  text += line;
  text += kLineEnd;
}

void AppendLine(std::wstring& text, std::wstring_view label, int64_t value) {
  AppendLine(text, std::wstring(label) + std::to_wstring(value));
}

std::wstring PaddedLeft(std::wstring text, size_t width, wchar_t pad) {
  if (text.size() < width)
    text.insert(0, width - text.size(), pad);
  return text;
}

// Lost as a share of sent; nothing sent yet shows no loss (DecimalText's zero denominator).
std::wstring LostPercent(const PSys& host) {
  const auto sent = static_cast<uint64_t>(std::max(host.Sent, 0));
  const auto lost = static_cast<uint64_t>(std::max(host.Lost, 0));
  return DecimalText(lost * 100, sent, kPercentDecimals);
}

std::wstring SampleText(int32_t value) {
  switch (value) {
    case kSampleNoReply:
      return L"  Timed out";
    case kSampleResumed:
      return L"  Ping Resumed";
    case kSamplePaused:
      return L"  " + Tr(L"Paused");
    default:
      return PaddedLeft(std::to_wstring(value), kSampleWidth, L' ') + L" ms";
  }
}

void AppendStatistics(std::wstring& text, const PSys& host) {
  AppendLine(text, L". IP Address: " + host.Addr);
  AppendLine(text, L".   Hostname: " + host.Host);
  AppendLine(text, L".   Time(ms): " + std::to_wstring(host.Time) +
                       (host.Time == kSampleNoReply ? L" (Timed Out)" : L""));
  if (host.Best > 0 && host.Wors > 0)
    AppendLine(text,
               L".  Range(ms): " + std::to_wstring(host.Best) + L"-" + std::to_wstring(host.Wors));
  AppendLine(text, L".        TOS: ", host.PTOS);
  AppendLine(text, L".        TTL: ", host.PTTL);
  AppendLine(text, L".       Sent: ", host.Sent);
  AppendLine(text, L".   Received: ", host.Recv);
  AppendLine(text, L".       Lost: ", host.Lost);
  AppendLine(text, L".     % Lost: " + LostPercent(host) + L"%");
  if (host.Down >= 1)
    AppendLine(text, L".  Last Down: " + FormatDate(L"%yyyy-%mm-%dd  %hh:%ii:%ss", host.Down));
}

void AppendHistory(std::wstring& text, const PSys& host) {
  size_t index = 0;
  for (const PValues& sample : host.PV) {
    AppendLine(text, PaddedLeft(std::to_wstring(index++), kIndexDigits, L'0') +
                         FormatDate(L"  %yyyy-%mm-%dd  %hh:%ii:%ss", sample.S) +
                         SampleText(sample.T));
  }
}

}  // namespace

std::wstring PingLogText(const PSys& host, DateValue now, std::wstring_view versionText) {
  std::wstring text;
  AppendLine(text, L"Ping Log by " + std::wstring(kProgramName) + L" v" +
                       std::wstring(versionText) + L" on " +
                       FormatDate(L"%yyyy-%mm-%dd %hh:%ii:%ss", now));
  AppendLine(text, std::wstring(34, L'-') + L"[ " + std::wstring(kMakerWebAddress) + L" ]-- ");
  AppendStatistics(text, host);
  AppendLine(text, L"----------------------------------------[ Begin Data ]--");
  AppendHistory(text, host);
  AppendLine(text, L"------------------------------------------[ End Data ]--");
  return text;
}

std::wstring PingLogSavedMessage(const PSys& host) {
  std::wstring named = host.Addr;
  if (host.Host.find_first_not_of(kBlanks) != std::wstring::npos)
    named += L" (" + host.Host + L")";
  return named.substr(0, kMessageNameLength) + Tr(L" Data saved To clipboard.");
}

}  // namespace tarvik
