#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "monitors/system/processor_texts.h"

namespace tarvik {

// Row 0 of the Processors tab's values list. Each count carries its change since the row last
// changed, so a change shows for one pass of the processors.
class ProcessorValuesRow {
 public:
  // The row for this pass; nothing when it reads as the row shown.
  [[nodiscard]] std::optional<std::wstring> Update(std::wstring_view speedAndLoad,
                                                   const ProcessCounts& counts, int pState,
                                                   std::wstring_view idleStates);

 private:
  ProcessCounts previous_;
  std::wstring shown_;
};

}  // namespace tarvik
