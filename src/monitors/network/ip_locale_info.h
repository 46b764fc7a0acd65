#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// Where the geolocation service places the machine's external address. The fields are named
// after the members of the service's JSON answer ("as" is `As`).
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
  float lat = 0;
  float lon = 0;
  std::wstring timezone;
  int64_t offset = 0;
  std::wstring currency;
  std::wstring isp;
  std::wstring org;
  std::wstring As;
  std::wstring asname;
  std::wstring reverse;
};

// The record an answer fills: members matched by name whatever their case, a member that is
// missing or of another type left empty or 0. None when the answer is not a JSON object.
[[nodiscard]] std::optional<IPLocaleInfo> ParseLocaleAnswer(std::string_view answer);

// The request path and query that ask the service about the caller's own address.
[[nodiscard]] std::string LocaleRequestPath();

}  // namespace tarvik
