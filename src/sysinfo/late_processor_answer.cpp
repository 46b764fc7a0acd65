#include "sysinfo/late_processor_answer.h"

#include <utility>

namespace tarvik {

bool LateProcessorAnswer::StoreInto(TextSlots& texts) {
  std::optional<ProcessorRows> rows = std::exchange(*rows_.Lock(), std::nullopt);
  if (!rows)
    return false;
  StoreProcessorProperties(rows, texts);
  return true;
}

}  // namespace tarvik
