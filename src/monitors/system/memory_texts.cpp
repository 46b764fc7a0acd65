#include "monitors/system/memory_texts.h"

#include <algorithm>
#include <limits>

#include "monitors/system/text_shapes.h"
#include "text/decimal_text.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kWholeGigaAbove = 102348;
constexpr int64_t kGigaFrom = 10000;
constexpr size_t kSizeWidth = 4;
constexpr size_t kPercentWidth = 3;
constexpr int kTotalSizeStyle = 5;
constexpr const wchar_t* kPhysKey = L"Phys";
constexpr const wchar_t* kPageKey = L"Page";

std::wstring SizePart(int64_t mib) {
  const auto magnitude = static_cast<uint64_t>(std::max<int64_t>(mib, 0));
  if (mib > kWholeGigaAbove)
    return system_text::RightAligned(DecimalText(magnitude, 1024, 0), kSizeWidth) + L"G";
  if (mib >= kGigaFrom)
    return system_text::RightAligned(DecimalText(magnitude, 1024, 1), kSizeWidth) + L"G";
  return system_text::RightAligned(mib, kSizeWidth) + L"M";
}

int PercentOf(int64_t part, int64_t whole) {
  if (whole <= 0 || part <= 0)
    return 0;
  // Above 92 PB the product would overflow; dividing the whole first is exact enough there.
  if (part <= std::numeric_limits<int64_t>::max() / 100)
    return static_cast<int>(part * 100 / whole);
  return static_cast<int>(part / std::max<int64_t>(whole / 100, 1));
}

std::wstring TotalEvent(std::wstring_view keys, int64_t lastTotal, int64_t total) {
  std::wstring text = std::wstring(keys) + L" " + Tr(L"Memory") + L": ";
  if (lastTotal != 0) {
    const int64_t difference = total - lastTotal;
    text += (difference > 0 ? L"+" : L"") + FormatSize(difference, kTotalSizeStyle) + L" = ";
  }
  return text + FormatSize(total, kTotalSizeStyle);
}

}  // namespace

std::wstring MemoryText(int64_t availableMiB, int percent) {
  return SizePart(availableMiB) + system_text::RightAligned(percent, kPercentWidth) + L"%";
}

MemoryReading ReadMemory(int64_t availableBytes, int64_t totalBytes) {
  MemoryReading reading;
  reading.AvailableMiB = availableBytes / kBytesPerMiB;
  reading.PercentAvailable = PercentOf(availableBytes, totalBytes);
  reading.Text = MemoryText(reading.AvailableMiB, reading.PercentAvailable);
  reading.UsedText =
      MemoryText((totalBytes - availableBytes) / kBytesPerMiB, 100 - reading.PercentAvailable);
  return reading;
}

std::wstring MemoryExtremeRow(std::wstring_view mark, const MemoryReading& reading, DateValue now) {
  return FormatDate(L"%mm-%dd  %hh:%ii:%ss  ", now) + std::wstring(mark) + L"\n" + reading.Text +
         L"\n" + reading.UsedText;
}

MemoryExtremeRows NoteMemoryExtremes(MemoryExtremes& extremes, const MemoryReading& reading,
                                     DateValue now) {
  MemoryExtremeRows rows;
  if (extremes.Highest < 0 || reading.AvailableMiB > extremes.Highest) {
    extremes.Highest = reading.AvailableMiB;
    rows.HighRow = MemoryExtremeRow(TrFixed(L"Hi"), reading, now);
  }
  if (extremes.Lowest < 0 || reading.AvailableMiB < extremes.Lowest) {
    extremes.Lowest = reading.AvailableMiB;
    rows.LowRow = MemoryExtremeRow(TrFixed(L"Lo"), reading, now);
  }
  return rows;
}

std::wstring MemoryHistoryText(const MemoryReading& reading) {
  return reading.Text + L"\n" + reading.UsedText;
}

std::vector<std::wstring> MemoryTotalEvents(MemoryTotals& lastReported, const MemoryTotals& now) {
  std::vector<std::wstring> events;
  const bool movedTogether =
      lastReported.Physical == lastReported.PageFile && now.Physical == now.PageFile;
  if (now.Physical != lastReported.Physical) {
    if (movedTogether) {
      events.push_back(TotalEvent(std::wstring(kPhysKey) + L"/" + kPageKey, lastReported.Physical,
                                  now.Physical));
      lastReported = now;
      return events;
    }
    events.push_back(TotalEvent(kPhysKey, lastReported.Physical, now.Physical));
    lastReported.Physical = now.Physical;
  }
  if (now.PageFile != lastReported.PageFile) {
    events.push_back(TotalEvent(kPageKey, lastReported.PageFile, now.PageFile));
    lastReported.PageFile = now.PageFile;
  }
  return events;
}

}  // namespace tarvik
