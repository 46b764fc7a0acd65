#pragma once

#include <string>

#include "core/settings.h"
#include "platform/gui.h"
#include "settings/metrics_endpoint.h"

namespace tarvik {

// The address a monitoring server scrapes: "http://127.0.0.1:9184/metrics".
[[nodiscard]] std::wstring MetricsPageAddress(const MetricsEndpoint& endpoint);
// How the listener fares, in the user's language; empty while the page is off. An address other
// than the machine's own loopback is said to open the port to the network.
[[nodiscard]] std::wstring MetricsStateText(MetricsState state, const MetricsEndpoint& endpoint);

// Builds the Settings tab's metrics row: its group, the check box, the address beside it and the
// listener's state under it.
void BuildMetricsRow(platform::Gui& gui);
// Shows the option, the address and the state as they stand.
void ShowMetricsRow(platform::Gui& gui, const Settings& options);

}  // namespace tarvik
