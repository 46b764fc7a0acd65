#include "monitors/network/internet_state.h"

#include "text/translation.h"

namespace tarvik {
namespace {

constexpr uint32_t kModem = 0x01;
constexpr uint32_t kLan = 0x02;
constexpr uint32_t kProxy = 0x04;
constexpr uint32_t kModemBusy = 0x08;
constexpr uint32_t kRasInstalled = 0x10;
constexpr uint32_t kOffline = 0x20;
constexpr uint32_t kConfigured = 0x40;

}  // namespace

std::wstring InternetStateText(uint32_t flags) {
  const std::wstring prefix = Tr(L"Internet") + L":";
  std::wstring text = prefix;
  if (flags & kConfigured)
    text = prefix + Tr(L"Unknown");
  if (flags & kModem)
    text = prefix + Tr(L"Modem/VPN");
  if (flags & kLan)
    text = prefix + Tr(L"Network");
  if (flags & kProxy)
    text += L"+" + Tr(L"Proxy");
  if (flags & kModemBusy)
    text += L" " + Tr(L"Busy");
  if (flags & kOffline)
    text += L" " + Tr(L"Offline");
  if (flags & kRasInstalled)
    text += L"+" + Tr(L"RAS");
  return text;
}

bool InternetConnected(uint32_t flags) {
  return (flags & (kModem | kLan | kProxy)) != 0 && (flags & kOffline) == 0;
}

std::optional<std::wstring> InternetWatch::Take(std::optional<uint32_t> flags) {
  if (flags == shown_)
    return std::nullopt;
  shown_ = flags;
  text_ = flags ? InternetStateText(*flags) : Tr(L"Internet") + L": " + Tr(L"Not Detected");
  return text_;
}

}  // namespace tarvik
