#include "monitors/system/system_readings.h"

#include <algorithm>

#include "text/translation.h"

namespace tarvik {

std::wstring ProcessorLabel(int processor, int processorCount) {
  std::wstring number = std::to_wstring(std::max(0, processor));
  const size_t width = std::to_wstring(std::max(0, processorCount)).size();
  if (number.size() < width)
    number.insert(0, width - number.size(), L'0');
  return (Tr(L"CPU") + L" " + number).substr(0, ProcessorEntry::kLabelCharacters);
}

}  // namespace tarvik
