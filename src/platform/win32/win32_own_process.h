#pragma once

#include "platform/own_process.h"
#include "platform/win32/process_list.h"

namespace tarvik::win32 {

// Processor times and memory from the process's own queries; threads and handles from its
// record in the system's process list, which Wine answers too (its handle-count query does not).
class Win32OwnProcess final : public platform::OwnProcess {
 public:
  [[nodiscard]] std::optional<platform::OwnProcessorTime> ProcessorTime() override;
  [[nodiscard]] std::optional<uint64_t> WorkingSetBytes() override;
  [[nodiscard]] std::optional<platform::OwnProcessFigures> Figures() override;

 private:
  ProcessList processes_;
};

}  // namespace tarvik::win32
