#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace tarvik {

// Where the metrics page listens: an IPv4 address and a port.
struct MetricsEndpoint {
  uint32_t Address = 0;  // first octet in the lowest byte
  uint16_t Port = 0;

  bool operator==(const MetricsEndpoint&) const = default;
};

// How the metrics page fared when it was last switched on or off, as the Settings tab tells it.
enum class MetricsState : int32_t {
  Off = 0,
  Listening = 1,
  PortTaken = 2,           // another program listens on the port
  AddressUnavailable = 3,  // the address is not one of this machine's
  Failed = 4,              // listening failed for another reason
  AddressRefused = 5,      // the settings file named an address that does not read
};

// Listening on the machine itself unless the user chooses otherwise.
inline constexpr MetricsEndpoint kDefaultMetricsEndpoint{0x0100007F, 9184};

// "a.b.c.d:port" with the port 1-65535, or "a.b.c.d" for the default port; blanks around it are
// allowed. Host names and anything else are refused.
[[nodiscard]] std::optional<MetricsEndpoint> ParseMetricsEndpoint(std::wstring_view text);
[[nodiscard]] std::wstring MetricsEndpointText(const MetricsEndpoint& endpoint);
[[nodiscard]] std::string MetricsAddressText(const MetricsEndpoint& endpoint);
// Only 127.0.0.0/8 keeps the page on the machine; any other address opens the port to the network.
[[nodiscard]] bool IsLoopback(const MetricsEndpoint& endpoint);

// The endpoint the settings hold.
[[nodiscard]] MetricsEndpoint MetricsEndpointOf(const Settings& options);

// The settings file's `Metrics` value: the endpoint while the page is served, empty while not.
[[nodiscard]] std::wstring MetricsSettingText(const Settings& options);
// Takes the settings file's value: an empty or missing one switches the page off; one that does
// not read switches it off and says so on the Settings tab.
void ApplyMetricsSettingText(const std::optional<std::wstring>& text, Settings& options);

}  // namespace tarvik
