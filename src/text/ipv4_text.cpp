#include "text/ipv4_text.h"

namespace tarvik {

std::optional<uint32_t> BoundedDecimal(std::wstring_view text, size_t mostDigits,
                                       uint32_t highest) {
  if (text.empty() || text.size() > mostDigits)
    return std::nullopt;
  uint64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9')
      return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - L'0');
  }
  if (value > highest)
    return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::optional<std::array<uint32_t, 4>> Ipv4Octets(std::wstring_view text) {
  std::array<uint32_t, 4> octets{};
  for (size_t index = 0; index < octets.size(); ++index) {
    const size_t dot = text.find(L'.');
    const bool last = index + 1 == octets.size();
    if (last != (dot == std::wstring_view::npos))
      return std::nullopt;
    const auto octet = BoundedDecimal(text.substr(0, dot), 3, 255);
    if (!octet)
      return std::nullopt;
    octets[index] = *octet;
    text = last ? std::wstring_view() : text.substr(dot + 1);
  }
  return octets;
}

std::optional<uint32_t> ParseIPv4(std::wstring_view text) {
  const auto octets = Ipv4Octets(text);
  if (!octets)
    return std::nullopt;
  return (*octets)[0] | (*octets)[1] << 8 | (*octets)[2] << 16 | (*octets)[3] << 24;
}

std::wstring DottedAddress(uint32_t address) {
  std::wstring text;
  for (int shift = 0; shift < 32; shift += 8) {
    if (shift > 0)
      text += L'.';
    text += std::to_wstring((address >> shift) & 0xFFu);
  }
  return text;
}

}  // namespace tarvik
