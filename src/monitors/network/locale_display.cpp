#include "monitors/network/locale_display.h"

#include <cstdio>
#include <utility>

#include "monitors/network/info_line.h"
#include "text/translation.h"

namespace tarvik {
namespace {

// Six decimals with the trailing zeros (and a trailing point) removed: 47.3769, -122.08, 0.
std::wstring DegreesText(const std::optional<double>& degrees) {
  if (!degrees)
    return {};
  wchar_t buffer[32];
  std::swprintf(buffer, 32, L"%.6f", *degrees);
  std::wstring text(buffer);
  while (text.back() == L'0')
    text.pop_back();
  if (text.back() == L'.')
    text.pop_back();
  return text == L"-0" ? L"0" : text;
}

std::wstring WithCode(const std::wstring& name, const std::wstring& code) {
  return name.empty() && code.empty() ? std::wstring() : name + L"(" + code + L")";
}

}  // namespace

std::optional<std::wstring> LocaleDisplay::Take(const std::optional<IPLocaleInfo>& answer,
                                                DateValue now) {
  if (!answer || !LookupSucceeded(*answer))
    return std::nullopt;
  record_ = *answer;
  lookupTime_ = FormatDate(L": %yyyy-%mm-%dd %hh:%ii:%ss", now);
  if (record_.query == lastExternalIp_)
    return std::nullopt;
  lastExternalIp_ = record_.query;
  return Tr(L"External IP") + L": " + record_.query;
}

std::vector<std::wstring> LocaleDisplay::Lines() const {
  if (lookupTime_.empty())
    return {};
  std::vector<std::wstring> lines{L"", L"-- " + Tr(L"IP Lookup") + lookupTime_};
  AddInfoLine(lines, Tr(L"External IP"), record_.query);
  AddInfoLine(lines, Tr(L"Continent"), WithCode(record_.continent, record_.continentCode));
  AddInfoLine(lines, Tr(L"Country"), WithCode(record_.country, record_.countryCode));
  AddInfoLine(lines, Tr(L"Region"), WithCode(record_.regionName, record_.region));
  AddInfoLine(lines, Tr(L"District"), record_.district);
  AddInfoLine(lines, Tr(L"City"), record_.city);
  AddInfoLine(lines, Tr(L"Zip Code"), record_.zip);
  AddInfoLine(lines, Tr(L"Latitude"), DegreesText(record_.lat));
  AddInfoLine(lines, Tr(L"Longitude"), DegreesText(record_.lon));
  AddInfoLine(lines, Tr(L"Time Zone"), record_.timezone);
  if (record_.offset)
    AddInfoLine(lines, Tr(L"Time Offset"),
                std::to_wstring(*record_.offset) + L" " + Tr(L"Seconds"));
  for (const auto& [label, value] :
       {std::pair{L"DNS: ", &record_.reverse}, std::pair{L"AS1: ", &record_.As},
        std::pair{L"AS2: ", &record_.asname}, std::pair{L"ORG: ", &record_.org},
        std::pair{L"ISP: ", &record_.isp}})
    lines.push_back(label + *value);
  return lines;
}

}  // namespace tarvik
