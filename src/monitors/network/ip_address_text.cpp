#include "monitors/network/ip_address_text.h"

namespace tarvik {
namespace {

constexpr size_t kLongestAddress = 45;  // "ffff:ffff:ffff:ffff:ffff:ffff:255.255.255.255"
constexpr int kIpv6Groups = 8;
constexpr int kNotGroups = -1;

bool IsDecimal(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

bool IsHex(wchar_t c) {
  return IsDecimal(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// "0" to "255", without leading zeros.
bool IsOctet(std::wstring_view part) {
  if (part.empty() || part.size() > 3 || (part.size() > 1 && part.front() == L'0'))
    return false;
  int value = 0;
  for (const wchar_t c : part) {
    if (!IsDecimal(c))
      return false;
    value = value * 10 + (c - L'0');
  }
  return value <= 255;
}

bool IsIpv4(std::wstring_view text) {
  int parts = 0;
  for (;;) {
    const size_t dot = text.find(L'.');
    if (!IsOctet(text.substr(0, dot)))
      return false;
    ++parts;
    if (dot == std::wstring_view::npos)
      return parts == 4;
    text.remove_prefix(dot + 1);
  }
}

// How many 16-bit groups a run of groups joined by ":" stands for ("" none); an IPv4 address at
// its end, where one may stand, counts as two. kNotGroups when it is no such run.
int Ipv6Groups(std::wstring_view run, bool ipv4AtEnd) {
  int groups = 0;
  while (!run.empty()) {
    const size_t colon = run.find(L':');
    const std::wstring_view group = run.substr(0, colon);
    if (colon == std::wstring_view::npos && ipv4AtEnd && group.find(L'.') != group.npos)
      return IsIpv4(group) ? groups + 2 : kNotGroups;
    if (group.empty() || group.size() > 4)
      return kNotGroups;
    for (const wchar_t c : group) {
      if (!IsHex(c))
        return kNotGroups;
    }
    ++groups;
    if (colon == std::wstring_view::npos)
      break;
    run.remove_prefix(colon + 1);
    if (run.empty())
      return kNotGroups;  // a ":" at the end
  }
  return groups;
}

// Eight groups, or fewer with one "::" standing for at least one group of zeros.
bool IsIpv6(std::wstring_view text) {
  const size_t gap = text.find(L"::");
  if (gap == std::wstring_view::npos)
    return Ipv6Groups(text, true) == kIpv6Groups;
  if (text.find(L"::", gap + 1) != std::wstring_view::npos)
    return false;
  const int head = Ipv6Groups(text.substr(0, gap), false);
  const int tail = Ipv6Groups(text.substr(gap + 2), true);
  return head != kNotGroups && tail != kNotGroups && head + tail < kIpv6Groups;
}

}  // namespace

bool IsIpAddressText(std::wstring_view text) {
  return !text.empty() && text.size() <= kLongestAddress && (IsIpv4(text) || IsIpv6(text));
}

}  // namespace tarvik
