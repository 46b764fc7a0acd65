#include "monitors/ping/ping_address.h"

#include <array>

namespace tarvik {
namespace {

constexpr std::wstring_view kBlanks = L" \t\r\n";

// One part of a dotted address: one to three digits, 0-255.
std::optional<uint32_t> Octet(std::wstring_view part) {
  if (part.empty() || part.size() > 3)
    return std::nullopt;
  uint32_t value = 0;
  for (const wchar_t c : part) {
    if (c < L'0' || c > L'9')
      return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - L'0');
  }
  if (value > 255)
    return std::nullopt;
  return value;
}

std::optional<std::array<uint32_t, 4>> Octets(std::wstring_view text) {
  std::array<uint32_t, 4> octets{};
  for (size_t index = 0; index < octets.size(); ++index) {
    const size_t dot = text.find(L'.');
    const bool last = index + 1 == octets.size();
    if (last != (dot == std::wstring_view::npos))
      return std::nullopt;
    const auto octet = Octet(text.substr(0, dot));
    if (!octet)
      return std::nullopt;
    octets[index] = *octet;
    text = last ? std::wstring_view() : text.substr(dot + 1);
  }
  return octets;
}

void RemoveEvery(std::wstring& text, std::wstring_view piece) {
  for (size_t at = text.find(piece); at != std::wstring::npos; at = text.find(piece, at))
    text.erase(at, piece.size());
}

}  // namespace

std::optional<uint32_t> ParseIPv4(std::wstring_view text) {
  const auto octets = Octets(text);
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

int64_t AddressSortKey(std::wstring_view dotted) {
  const auto octets = Octets(dotted);
  if (!octets)
    return 0;
  int64_t key = 0;
  for (const uint32_t octet : *octets)
    key = key * 1000 + octet;
  return key;
}

std::wstring TrimBlanks(std::wstring_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos)
    return {};
  return std::wstring(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

// Each blank-separated word loses its scheme and its path on its own, so that a web address
// with a path followed by a second name still yields both names.
std::wstring HostNamesOfTypedText(std::wstring text) {
  RemoveEvery(text, L"https://");
  RemoveEvery(text, L"http://");
  std::wstring names;
  size_t start = text.find_first_not_of(kBlanks);
  while (start != std::wstring::npos) {
    const size_t end = text.find_first_of(kBlanks, start);
    const std::wstring_view word = std::wstring_view(text).substr(start, end - start);
    const std::wstring_view host = word.substr(0, word.find(L'/'));
    if (!host.empty())
      names += (names.empty() ? L"" : L" ") + std::wstring(host);
    start = end == std::wstring::npos ? end : text.find_first_not_of(kBlanks, end);
  }
  return names;
}

}  // namespace tarvik
