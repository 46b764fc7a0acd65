#pragma once

#include <functional>
#include <string>

#include "core/text_slots.h"
#include "monitors/ping/ping_requests.h"
#include "platform/ping.h"

namespace tarvik {

// The text for the well-known-sites fill (F6 on the Ping tab): 37 site names joined so that each
// becomes "www.<name>.com", the one that carries its own domain aside.
[[nodiscard]] std::wstring WellKnownSiteNames();

// The host-name resolver: takes the pending names one at a time and queues each address for the
// ping coordinator with the name as its description (waiting while the queue is full), and -1
// for a name without an address, "0.0.0.0" included. A dotted address is taken as it stands,
// without asking a name service. Ends when no name is left or stop is raised.
void ResolvePendingHostNames(PingRequests& requests, TextSlots& texts, platform::NameLookup& names,
                             const std::function<bool(int milliseconds)>& waitStopping);

}  // namespace tarvik
