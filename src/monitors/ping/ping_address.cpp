#include "monitors/ping/ping_address.h"

namespace tarvik {
namespace {

constexpr std::wstring_view kBlanks = L" \t\r\n";

void RemoveEvery(std::wstring& text, std::wstring_view piece) {
  for (size_t at = text.find(piece); at != std::wstring::npos; at = text.find(piece, at))
    text.erase(at, piece.size());
}

}  // namespace

int64_t AddressSortKey(std::wstring_view dotted) {
  const auto octets = Ipv4Octets(dotted);
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
