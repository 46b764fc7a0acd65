#include "settings/metrics_endpoint.h"

#include "text/ipv4_text.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr size_t kMostPortDigits = 5;

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
    text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<MetricsEndpoint> ParseMetricsEndpoint(std::wstring_view text) {
  text = Trimmed(text);
  const size_t colon = text.find(L':');
  MetricsEndpoint endpoint{0, kDefaultMetricsEndpoint.Port};
  if (colon != std::wstring_view::npos) {
    const std::optional<uint32_t> port =
        BoundedDecimal(text.substr(colon + 1), kMostPortDigits, 65535);
    if (!port || *port == 0)
      return std::nullopt;
    endpoint.Port = static_cast<uint16_t>(*port);
  }
  const std::optional<uint32_t> address = ParseIPv4(text.substr(0, colon));
  if (!address)
    return std::nullopt;
  endpoint.Address = *address;
  return endpoint;
}

std::string MetricsAddressText(const MetricsEndpoint& endpoint) {
  return ToUtf8(DottedAddress(endpoint.Address));
}

std::wstring MetricsEndpointText(const MetricsEndpoint& endpoint) {
  return DottedAddress(endpoint.Address) + L":" + std::to_wstring(endpoint.Port);
}

bool IsLoopback(const MetricsEndpoint& endpoint) {
  return (endpoint.Address & 0xFF) == 127;
}

MetricsEndpoint MetricsEndpointOf(const Settings& options) {
  const int32_t port = options.Get(opt::MetricsPort);
  if (port < 1 || port > 65535)
    return kDefaultMetricsEndpoint;
  return {static_cast<uint32_t>(options.Get(opt::MetricsAddress)), static_cast<uint16_t>(port)};
}

std::wstring MetricsSettingText(const Settings& options) {
  return options.IsOn(opt::MetricsOn) ? MetricsEndpointText(MetricsEndpointOf(options))
                                      : std::wstring();
}

void ApplyMetricsSettingText(const std::optional<std::wstring>& text, Settings& options) {
  options.Set(opt::MetricsOn, 0);
  options.Set(opt::MetricsState, static_cast<int32_t>(MetricsState::Off));
  if (!text || Trimmed(*text).empty())
    return;
  const std::optional<MetricsEndpoint> endpoint = ParseMetricsEndpoint(*text);
  if (!endpoint) {
    options.Set(opt::MetricsState, static_cast<int32_t>(MetricsState::AddressRefused));
    return;
  }
  options.Set(opt::MetricsAddress, static_cast<int32_t>(endpoint->Address));
  options.Set(opt::MetricsPort, endpoint->Port);
  options.Set(opt::MetricsOn, 1);
}

}  // namespace tarvik
