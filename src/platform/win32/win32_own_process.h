#pragma once

#include "platform/own_process.h"

namespace tarvik::win32 {

class Win32OwnProcess final : public platform::OwnProcess {
 public:
  [[nodiscard]] std::optional<platform::OwnProcessorTime> ProcessorTime() override;
  [[nodiscard]] std::optional<platform::OwnProcessFigures> Figures() override;
};

}  // namespace tarvik::win32
