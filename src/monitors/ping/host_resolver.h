#pragma once

#include <functional>
#include <string>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/ping.h"

namespace tarvik {

// The text for the well-known-sites fill (F6 on the Ping tab): 37 site names joined so that each
// becomes "www.<name>.com", the one that carries its own domain aside.
[[nodiscard]] std::wstring WellKnownSiteNames();

// The host-name resolver: takes the pending names one at a time, hands each address to the
// ping coordinator through the add request (waiting while an earlier one is pending) with the
// name as its description, and -1 for a name without an address. A dotted address is taken as
// it stands, without asking a name service. Ends when no name is left or stop is raised.
void ResolvePendingHostNames(Settings& settings, TextSlots& texts, platform::NameLookup& names,
                             const std::function<bool(int milliseconds)>& waitStopping);

}  // namespace tarvik
