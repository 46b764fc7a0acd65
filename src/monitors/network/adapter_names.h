#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

// The translated names of the values an interface row holds; an unknown value is "Type" and its
// number.
[[nodiscard]] std::wstring InterfaceTypeName(uint32_t type);
[[nodiscard]] std::wstring TunnelTypeName(uint32_t type);
[[nodiscard]] std::wstring AccessTypeName(uint32_t type);
[[nodiscard]] std::wstring DirectionName(uint32_t direction);
[[nodiscard]] std::wstring ConnectionTypeName(uint32_t type);
// Operational and administrative status (1 "Up" ... 7 "Lower Layer Down").
[[nodiscard]] std::wstring StatusName(uint32_t status);
[[nodiscard]] std::wstring YesNo(bool value);

// The first six bytes as upper-case hexadecimal joined by ":"; all zero when there are none.
[[nodiscard]] std::wstring MacAddressText(const std::vector<uint8_t>& bytes);

}  // namespace tarvik
