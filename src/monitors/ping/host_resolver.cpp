#include "monitors/ping/host_resolver.h"

#include "core/settings_index.h"
#include "monitors/ping/ping_address.h"

namespace tarvik {
namespace {

constexpr int kAddRequestPollMs = 10;

// The maker's site first; "wikipedia.org" carries its own domain. Joined with ".com www." the
// list reads "www.brimhold.com www.google.com … www.wikipedia.org".
constexpr const wchar_t* kWellKnownSites =
    L"www.brimhold google youtube facebook amazon microsoft apple netflix linkedin yahoo bing "
    L"instagram twitter reddit ebay paypal adobe dropbox github stackoverflow cnn nytimes "
    L"espn imdb walmart target bestbuy craigslist zoom salesforce oracle ibm intel nvidia "
    L"cisco hp wikipedia.org";

// The first word of the pending names, taken out of them.
std::wstring TakeFirstName(TextSlots& texts) {
  std::wstring first;
  texts.Update(slot::PendingHostNames, [&first](std::wstring& pending) {
    pending = TrimBlanks(pending);
    const size_t blank = pending.find(L' ');
    first = pending.substr(0, blank);
    pending = blank == std::wstring::npos ? std::wstring() : TrimBlanks(pending.substr(blank));
  });
  return first;
}

int32_t AddressOf(const std::wstring& name, platform::NameLookup& names) {
  if (const auto dotted = ParseIPv4(name))
    return static_cast<int32_t>(*dotted);
  const uint32_t address = names.LookUpIPv4(name);
  return address == 0 ? -1 : static_cast<int32_t>(address);
}

}  // namespace

std::wstring WellKnownSiteNames() {
  std::wstring names = kWellKnownSites;
  for (size_t at = names.find(L' '); at != std::wstring::npos; at = names.find(L' ', at)) {
    names.replace(at, 1, L".com www.");
    at += 9;
  }
  return names;
}

void ResolvePendingHostNames(Settings& settings, TextSlots& texts, platform::NameLookup& names,
                             const std::function<bool(int milliseconds)>& waitStopping) {
  for (;;) {
    while (settings.Get(opt::PingAddressRequest) != 0) {
      if (waitStopping(kAddRequestPollMs))
        return;
    }
    const std::wstring name = TakeFirstName(texts);
    if (name.empty())
      return;
    texts.Set(slot::PendingPingDescription, name);
    settings.Request(opt::PingAddressRequest, AddressOf(name, names));
  }
}

}  // namespace tarvik
