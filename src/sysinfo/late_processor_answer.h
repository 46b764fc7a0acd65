#pragma once

#include <optional>

#include "core/guarded.h"
#include "core/text_slots.h"
#include "sysinfo/processor_properties.h"

namespace tarvik {

// The processor's properties when WMI answers only after start-up stopped waiting. The query's
// helper leaves them here, and the window thread stores them in the processor slots, so that the
// slots keep one writer and start-up's own (empty) values cannot overwrite the late ones.
class LateProcessorAnswer {
 public:
  // Any thread.
  void Leave(ProcessorRows rows) { *rows_.Lock() = std::move(rows); }
  // Window thread: stores an answer left here; true when there was one.
  [[nodiscard]] bool StoreInto(TextSlots& texts);

 private:
  Guarded<std::optional<ProcessorRows>> rows_;
};

}  // namespace tarvik
