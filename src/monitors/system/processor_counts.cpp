#include "monitors/system/processor_counts.h"

namespace tarvik {

std::optional<std::wstring> ProcessorValuesRow::Update(std::wstring_view speedAndLoad,
                                                       const ProcessCounts& counts, int pState,
                                                       std::wstring_view idleStates) {
  std::wstring row = ProcessorValuesText(speedAndLoad, counts, previous_, pState, idleStates);
  if (row == shown_)
    return std::nullopt;
  previous_ = counts;
  shown_ = row;
  return row;
}

}  // namespace tarvik
