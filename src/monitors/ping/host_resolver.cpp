#include "monitors/ping/host_resolver.h"

#include <optional>

#include "core/text_slots.h"
#include "monitors/ping/ping_address.h"

namespace tarvik {
namespace {

constexpr int kFullQueuePollMs = 10;

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

// 0 is no address, whether typed or given by the name service.
int32_t AddressOf(const std::wstring& name, platform::NameLookup& names) {
  const std::optional<uint32_t> dotted = ParseIPv4(name);
  const uint32_t address = dotted ? *dotted : names.LookUpIPv4(name);
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

void ResolvePendingHostNames(PingRequests& requests, TextSlots& texts, platform::NameLookup& names,
                             const std::function<bool(int milliseconds)>& waitStopping) {
  for (std::wstring name = TakeFirstName(texts); !name.empty(); name = TakeFirstName(texts)) {
    const AddRequest add{.Address = AddressOf(name, names), .Description = name};
    while (!requests.QueueAdd(add)) {
      if (waitStopping(kFullQueuePollMs))
        return;
    }
  }
}

}  // namespace tarvik
