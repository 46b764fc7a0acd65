#include "monitors/network/ip_locale_info.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>

#include "monitors/network/ip_address_text.h"
#include "text/untrusted_text.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

using Json = nlohmann::json;

constexpr double kMostLatitude = 90;
constexpr double kMostLongitude = 180;
constexpr double kMostOffsetSeconds = 14 * 3'600;

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The answer's members by lower-case name; of two names alike but for case the first stays.
class Members {
 public:
  explicit Members(const Json& object) {
    for (auto member = object.begin(); member != object.end(); ++member)
      byName_.emplace(Lower(member.key()), &member.value());
  }

  void Text(const char* name, std::wstring& field) const {
    if (const Json* value = Find(name); value && value->is_string())
      field = UntrustedText(FromUtf8(value->get_ref<const std::string&>()), kMostFieldCharacters);
  }
  // Only an address as it stands: a text that turns into one once cleaned is none.
  void Address(const char* name, std::wstring& field) const {
    if (const Json* value = Find(name); value && value->is_string()) {
      std::wstring text = FromUtf8(value->get_ref<const std::string&>());
      if (IsIpAddressText(text))
        field = std::move(text);
    }
  }
  // Any number is read as a double, which every JSON number converts to without harm; it is
  // kept when it lies within +-most.
  [[nodiscard]] std::optional<double> Number(const char* name, double most) const {
    const Json* value = Find(name);
    if (!value || !value->is_number())
      return std::nullopt;
    const double number = value->get<double>();
    if (!(std::abs(number) <= most))  // NaN and infinity too
      return std::nullopt;
    return number;
  }

 private:
  [[nodiscard]] const Json* Find(const char* name) const {
    const auto found = byName_.find(Lower(name));
    return found == byName_.end() ? nullptr : found->second;
  }
  std::map<std::string, const Json*> byName_;
};

}  // namespace

std::optional<IPLocaleInfo> ParseLocaleAnswer(std::string_view answer) {
  const Json parsed = Json::parse(answer, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_object())
    return std::nullopt;
  const Members members(parsed);
  IPLocaleInfo info;
  members.Address("query", info.query);
  members.Text("status", info.status);
  members.Text("continent", info.continent);
  members.Text("continentCode", info.continentCode);
  members.Text("country", info.country);
  members.Text("countryCode", info.countryCode);
  members.Text("region", info.region);
  members.Text("regionName", info.regionName);
  members.Text("city", info.city);
  members.Text("district", info.district);
  members.Text("zip", info.zip);
  info.lat = members.Number("lat", kMostLatitude);
  info.lon = members.Number("lon", kMostLongitude);
  members.Text("timezone", info.timezone);
  if (const std::optional<double> offset = members.Number("offset", kMostOffsetSeconds))
    info.offset = static_cast<int64_t>(*offset);
  members.Text("currency", info.currency);
  members.Text("isp", info.isp);
  members.Text("org", info.org);
  members.Text("as", info.As);
  members.Text("asname", info.asname);
  members.Text("reverse", info.reverse);
  return info;
}

bool LookupSucceeded(const IPLocaleInfo& info) {
  return info.status == L"success" && !info.query.empty();
}

std::string LocaleRequestPath() {
  return "/json/?fields=status,message,continent,continentCode,country,countryCode,region,"
         "regionName,city,district,zip,lat,lon,timezone,offset,currency,isp,org,as,asname,"
         "reverse,query";
}

}  // namespace tarvik
