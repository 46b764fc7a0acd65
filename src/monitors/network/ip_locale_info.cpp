#include "monitors/network/ip_locale_info.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <nlohmann/json.hpp>

#include "text/utf8.h"

namespace tarvik {
namespace {

using Json = nlohmann::json;

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
      field = FromUtf8(value->get_ref<const std::string&>());
  }
  template <typename Number>
  void Value(const char* name, Number& field) const {
    if (const Json* value = Find(name); value && value->is_number())
      field = value->get<Number>();
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
  members.Text("query", info.query);
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
  members.Value("lat", info.lat);
  members.Value("lon", info.lon);
  members.Text("timezone", info.timezone);
  members.Value("offset", info.offset);
  members.Text("currency", info.currency);
  members.Text("isp", info.isp);
  members.Text("org", info.org);
  members.Text("as", info.As);
  members.Text("asname", info.asname);
  members.Text("reverse", info.reverse);
  return info;
}

std::string LocaleRequestPath() {
  return "/json/?fields=status,message,continent,continentCode,country,countryCode,region,"
         "regionName,city,district,zip,lat,lon,timezone,offset,currency,isp,org,as,asname,"
         "reverse,query";
}

}  // namespace tarvik
