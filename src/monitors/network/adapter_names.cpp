#include "monitors/network/adapter_names.h"

#include <array>
#include <utility>

#include "text/translation.h"

namespace tarvik {
namespace {

constexpr size_t kMacBytes = 6;

std::wstring UnknownType(uint32_t value) {
  return Tr(L"Type") + L" " + std::to_wstring(value);
}

// The name at `value - first` of a list of keys, or the unknown-type text.
template <size_t N>
std::wstring NameInList(const std::array<const wchar_t*, N>& keys, uint32_t first, uint32_t value) {
  if (value < first || value - first >= N)
    return UnknownType(value);
  return Tr(keys[value - first]);
}

}  // namespace

std::wstring InterfaceTypeName(uint32_t type) {
  static constexpr std::array<std::pair<uint32_t, const wchar_t*>, 13> kTypes{{
      {1, L"Other"},
      {6, L"Ethernet"},
      {9, L"Token Ring"},
      {15, L"FDDI (Fiber)"},
      {23, L"PPP"},
      {24, L"Software Loopback"},
      {37, L"ATM"},
      {71, L"802.11 Wireless"},
      {131, L"Tunnel"},
      {144, L"1394 (Firewire)"},
      {237, L"Mobile (WiMax)"},
      {243, L"Mobile (GSM)"},
      {244, L"Mobile (CDMA)"},
  }};
  for (const auto& [value, key] : kTypes) {
    if (value == type)
      return Tr(key);
  }
  return UnknownType(type);
}

std::wstring TunnelTypeName(uint32_t type) {
  static constexpr std::array<const wchar_t*, 18> kTunnels{
      L"None",   L"Other",  L"Direct", L"GRE",     L"Minimal",       L"L2TP",
      L"PPTP",   L"L2F",    L"UDP",    L"ATMP",    L"MSDP",          L"6to4",
      L"6over4", L"ISATAP", L"Teredo", L"IPHTTPS", L"Softwire Mesh", L"DS-Lite"};
  return NameInList(kTunnels, 0, type);
}

std::wstring AccessTypeName(uint32_t type) {
  static constexpr std::array<const wchar_t*, 5> kAccess{
      L"Loopback", L"Broadcast", L"Point To Point", L"Point To Multi-Point", L"Maximum"};
  return NameInList(kAccess, 1, type);
}

std::wstring DirectionName(uint32_t direction) {
  static constexpr std::array<const wchar_t*, 3> kDirections{L"Send/Receive", L"Send Only",
                                                             L"Receive Only"};
  return NameInList(kDirections, 0, direction);
}

std::wstring ConnectionTypeName(uint32_t type) {
  static constexpr std::array<const wchar_t*, 3> kConnections{L"Dedicated", L"Passive", L"Demand"};
  return NameInList(kConnections, 1, type);
}

std::wstring StatusName(uint32_t status) {
  static constexpr std::array<const wchar_t*, 7> kStatus{
      L"Up", L"Down", L"Testing", L"Unknown", L"Dormant", L"Not Present", L"Lower Layer Down"};
  return NameInList(kStatus, 1, status);
}

std::wstring YesNo(bool value) {
  return Tr(value ? L"Yes" : L"No");
}

std::wstring MacAddressText(const std::vector<uint8_t>& bytes) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring text;
  for (size_t i = 0; i < kMacBytes; ++i) {
    const uint8_t byte = i < bytes.size() ? bytes[i] : 0;
    if (i > 0)
      text += L':';
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

}  // namespace tarvik
