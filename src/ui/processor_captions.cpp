#include "ui/processor_captions.h"

#include <algorithm>
#include <cstdint>

#include "text/decimal_text.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kFrameColumns = 2;

// Sample columns times 2.5 s, kept as tenths of a second so that nothing is rounded early.
uint64_t TenthsCovered(int graphWidth) {
  return static_cast<uint64_t>(std::max(0, graphWidth - kFrameColumns)) * 25;
}

}  // namespace

std::wstring ProcessorLibraryNotice(bool powerLibraryPresent, bool counterLibraryPresent) {
  if (powerLibraryPresent && counterLibraryPresent)
    return {};
  std::wstring text = Tr(L"Unable to load") + L" ";
  if (!powerLibraryPresent)
    text += L"powrprof.dll ";
  if (!powerLibraryPresent && !counterLibraryPresent)
    text += Tr(L"and") + L" ";
  if (!counterLibraryPresent)
    text += L"pdh.dll ";
  return text + Tr(L"for full CPU statistics");
}

int ProcessorGraphSeconds(int graphWidth) {
  const uint64_t tenths = TenthsCovered(graphWidth);
  return static_cast<int>((tenths + 5) / 10);
}

std::wstring ProcessorTimeSpanCaption(int graphWidth) {
  return Tr(L"% Utilization approx") + L" " + std::to_wstring(ProcessorGraphSeconds(graphWidth)) +
         L" " + Tr(L"seconds") + L" (" + DecimalText(TenthsCovered(graphWidth), 600, 1) + L" " +
         Tr(L"minutes") + L")";
}

}  // namespace tarvik
