#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tarvik::platform {

// A property as WMI hands it over: a 32-bit integer (unsigned ones keep their value), a text,
// or nothing (missing, null, or of another type).
using WmiValue = std::variant<std::monostate, int64_t, std::wstring>;

// Queries of Windows Management Instrumentation in ROOT\CIMV2.
class Wmi {
 public:
  virtual ~Wmi() = default;
  // One row per Win32_Processor object, holding the named properties in the order asked;
  // empty when WMI cannot be reached or the query fails.
  [[nodiscard]] virtual std::optional<std::vector<std::vector<WmiValue>>> ProcessorProperties(
      const std::vector<std::wstring>& names) = 0;
};

}  // namespace tarvik::platform
