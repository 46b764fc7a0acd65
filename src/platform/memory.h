#pragma once

#include <cstdint>
#include <optional>

namespace tarvik::platform {

// Physical memory and page file, in bytes.
struct MemoryStatus {
  uint64_t TotalPhysical = 0;
  uint64_t AvailablePhysical = 0;
  uint64_t TotalPageFile = 0;
  uint64_t AvailablePageFile = 0;
};

class Memory {
 public:
  virtual ~Memory() = default;
  [[nodiscard]] virtual std::optional<MemoryStatus> Status() = 0;
};

}  // namespace tarvik::platform
