// Fuzz target for the geolocation service's answer, which anyone on the way can write: the
// parser and the lines and event that the Networks tab, the event list and the log show of it.
// Checks that whatever the answer holds, every field passed its checks and no shown text carries
// a control character, a line or paragraph separator or a turn of the text's direction, or grows
// past its bound.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "monitors/network/ip_address_text.h"
#include "monitors/network/ip_locale_info.h"
#include "monitors/network/locale_display.h"
#include "text/translation.h"
#include "text/untrusted_text.h"

namespace tarvik {
namespace {

// A label of 17 characters and a blank, then at most two fields and their brackets.
constexpr size_t kLongestLine = 18 + 2 * kMostFieldCharacters + 2;

void Require(bool condition) {
  if (!condition)
    std::abort();
}

// Nothing shown may be cut out of the text by the cleaning, and the cleaning changes nothing.
void RequireClean(const std::wstring& text, size_t most) {
  Require(UntrustedText(text, text.size()) == text);
  Require(text.size() <= most);
}

void RequireChecked(const IPLocaleInfo& info) {
  Require(info.query.empty() || IsIpAddressText(info.query));
  for (const std::wstring* field :
       {&info.status, &info.continent, &info.continentCode, &info.country, &info.countryCode,
        &info.region, &info.regionName, &info.city, &info.district, &info.zip, &info.timezone,
        &info.currency, &info.isp, &info.org, &info.As, &info.asname, &info.reverse})
    RequireClean(*field, kMostFieldCharacters);  // the fuzzer runs where wide text is UTF-32
  Require(!info.lat || std::abs(*info.lat) <= 90);
  Require(!info.lon || std::abs(*info.lon) <= 180);
  Require(!info.offset || std::abs(*info.offset) <= 14 * 3'600);
}

}  // namespace
}  // namespace tarvik

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tarvik::LoadTranslations(tarvik::kEnglish);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvik;
  const std::optional<IPLocaleInfo> info =
      ParseLocaleAnswer(std::string_view(reinterpret_cast<const char*>(data), size));
  if (info)
    RequireChecked(*info);
  LocaleDisplay display;
  const std::optional<std::wstring> event = display.Take(info, 1'709'993'107);
  Require(event.has_value() == (info && LookupSucceeded(*info)));
  if (event)
    RequireClean(*event, kLongestLine);
  for (const std::wstring& line : display.Lines())
    RequireClean(line, kLongestLine);
  return 0;
}
