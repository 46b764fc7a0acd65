#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// Where the geolocation service places the machine's external address. The fields are named
// after the members of the service's JSON answer ("as" is `As`). The answer comes over plain
// HTTP, so anyone on the way can write it: a field holds only what passed its checks.
struct IPLocaleInfo {
  std::wstring query;  // the external address the service saw
  std::wstring status;
  std::wstring continent;
  std::wstring continentCode;
  std::wstring country;
  std::wstring countryCode;
  std::wstring region;
  std::wstring regionName;
  std::wstring city;
  std::wstring district;
  std::wstring zip;
  std::optional<double> lat;  // degrees
  std::optional<double> lon;
  std::wstring timezone;
  std::optional<int64_t> offset;  // seconds from UTC
  std::wstring currency;
  std::wstring isp;
  std::wstring org;
  std::wstring As;
  std::wstring asname;
  std::wstring reverse;
};

// The longest text a field keeps, in characters.
inline constexpr size_t kMostFieldCharacters = 64;

// The record an answer fills: members matched by name whatever their case. A text loses its
// control characters and the characters that turn the direction of text and is cut after
// kMostFieldCharacters; `query` is kept only when it is an IPv4 or IPv6 address; a number is
// kept only when it is a place on the earth or an offset of at most 14 hours. A member that is
// missing, of another type or fails its check leaves its field empty. None when the answer is
// not a JSON object.
[[nodiscard]] std::optional<IPLocaleInfo> ParseLocaleAnswer(std::string_view answer);

// The service found the address: it says so, and the address it names is one.
[[nodiscard]] bool LookupSucceeded(const IPLocaleInfo& info);

// The request path and query that ask the service about the caller's own address.
[[nodiscard]] std::string LocaleRequestPath();

}  // namespace tarvik
