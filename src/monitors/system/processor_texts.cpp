#include "monitors/system/processor_texts.h"

#include "monitors/system/text_shapes.h"
#include "text/decimal_text.h"

namespace tarvik {
namespace {

constexpr size_t kSpeedWidth = 4;

std::wstring Mhz(int64_t mhz) {
  return std::to_wstring(mhz) + L"MHz";
}

std::wstring CountColumn(int64_t now, int64_t previous, bool showChange) {
  std::wstring text = std::to_wstring(now);
  const int64_t change = now - previous;
  if (showChange && change != 0)
    text += L"  ( " + std::wstring(change > 0 ? L"+" : L"-") +
            std::to_wstring(change > 0 ? change : -change) + L" )";
  return text;
}

}  // namespace

std::wstring PercentText(int percent) {
  if (percent >= 100)
    return L"MAX";
  if (percent <= 0)
    return L" 0%";
  return system_text::RightAligned(percent, 2) + L"%";
}

std::wstring SpeedText(int64_t mhz) {
  if (mhz <= 999)
    return system_text::RightAligned(mhz, kSpeedWidth) + L"MHz";
  if (mhz < 10000) {
    return system_text::RightAligned(DecimalText(static_cast<uint64_t>(mhz), 1000, 1),
                                     kSpeedWidth) +
           L"GHz";
  }
  return system_text::RightAligned(mhz / 1000, kSpeedWidth) + L"GHz";
}

ProcessorTexts MakeProcessorTexts(const ProcessorReading& reading) {
  ProcessorTexts texts;
  texts.SpeedAndLoad = Mhz(reading.MeanMhz) + L"\n";
  if (reading.AverageLoad >= 0) {
    texts.Load = reading.AverageLoad;
    texts.MeterText = PercentText(reading.AverageLoad) + SpeedText(reading.MeanMhz);
    texts.SpeedAndLoad += std::to_wstring(reading.AverageLoad) + L"%";
    texts.HistoryText = std::to_wstring(reading.AverageLoad) + L"%\n" + Mhz(reading.MeanMhz);
  } else {
    texts.MeterText =
        system_text::RightAligned(reading.LogicalCount, 2) + L"x" + Mhz(reading.MeanMhz);
    texts.HistoryText = std::to_wstring(reading.LogicalCount) + L"x\n" + Mhz(reading.MeanMhz);
  }
  if (reading.IdleState != 0) {
    const std::wstring states =
        L" C" + std::to_wstring(reading.IdleState) + L"P" + std::to_wstring(reading.PState);
    texts.MeterText += states;
    texts.HistoryText += states;
  }
  return texts;
}

std::wstring ProcessorValuesText(std::wstring_view speedAndLoad, const ProcessCounts& now,
                                 const ProcessCounts& previous, int pState,
                                 std::wstring_view idleStates) {
  const bool showChange = previous.Processes >= 1;
  std::wstring text(speedAndLoad);
  text += L"\n" + CountColumn(now.Processes, previous.Processes, showChange);
  text += L"\n" + CountColumn(now.Threads, previous.Threads, showChange);
  text += L"\n" + CountColumn(now.Handles, previous.Handles, showChange);
  text += L"\n" + std::to_wstring(pState);
  text += L"\n" + std::wstring(idleStates);
  return text;
}

std::wstring IdleStateList(const std::vector<int>& idleStates, int logicalCount) {
  const wchar_t* separator = logicalCount < 25 ? L"  " : logicalCount < 33 ? L" " : L"";
  std::wstring text;
  for (size_t i = 0; i < idleStates.size(); ++i) {
    if (i > 0)
      text += separator;
    text += std::to_wstring(idleStates[i]);
  }
  return text;
}

// "1024K + 9216K"; a size the system did not tell shows "?", and with neither the column is
// empty rather than a bare "K + K".
std::wstring CacheText(const std::wstring& l2Kb, const std::wstring& l3Kb) {
  if (l2Kb.empty() && l3Kb.empty())
    return {};
  const auto size = [](const std::wstring& kb) { return kb.empty() ? L"?" : kb + L"K"; };
  return size(l2Kb) + L" + " + size(l3Kb);
}

std::wstring ProcessorDescriptionRow(int64_t highestMhz, const ProcessorDescription& processor,
                                     int logicalCount) {
  return Mhz(highestMhz) + L"\n" + processor.Brand + L"\n" + processor.Name + L", ID:" +
         processor.Identifier + L"\n" + CacheText(processor.L2CacheKb, processor.L3CacheKb) +
         L"\n" + processor.Cores + L" ( " + std::to_wstring(logicalCount) + L" )";
}

}  // namespace tarvik
