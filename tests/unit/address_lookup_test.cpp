#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "monitors/network/address_lookup.h"
#include "monitors/network/ip_address_text.h"
#include "monitors/network/ip_locale_info.h"
#include "monitors/network/lookup_requests.h"

namespace tarvik {
namespace {

// The answer comes over plain HTTP: what anyone on the way writes into it fills only fields that
// pass their checks, and an address that is none makes the lookup a failure.
TEST(AddressLookup, AnswersFillTheRecordOnlyWithWhatPassesItsChecks) {
  struct Record {
    bool succeeded = false;
    std::wstring query, as, city, isp;
    std::optional<double> lat, lon;
    std::optional<int64_t> offset;
  };
  struct Case {
    const char* name;
    std::string answer;
    std::optional<Record> record;  // none: not taken as an answer at all
  };
  const Case cases[] = {
      {"as the service writes it",
       R"({"status":"success","query":"198.51.100.7","as":"AS1 Net","city":"Zürich","lat":47.37,"lon":8.54,"offset":3600})",
       Record{true, L"198.51.100.7", L"AS1 Net", L"Z\u00FCrich", L"", 47.37, 8.54, 3600}},
      {"odd case, IPv6",
       R"({"Status":"success","QUERY":"2001:db8::7","As":"AS1 Net","CiTy":"Bern","LAT":-90,"Lon":180,"Offset":-50400})",
       Record{true, L"2001:db8::7", L"AS1 Net", L"Bern", L"", -90.0, 180.0, -50400}},
      {"a forged log record in the address",
       "{\"status\":\"success\",\"query\":\"1.2.3.7\\r\\n01000000 C:+ 0 1\"}", Record{}},
      {"a bell after the address", R"({"status":"success","query":"1.2.3.7\u0007"})", Record{}},
      {"bell, override and 5000 characters",
       R"({"status":"success","query":"1.2.3.7","city":"Be\u0007rn\u202E","isp":")" +
           std::string(5'000, 'x') + R"("})",
       Record{true, L"1.2.3.7", L"", L"Bern", std::wstring(64, L'x'), {}, {}, {}}},
      {"numbers out of range",
       R"({"status":"success","query":"1.2.3.7","lat":1e38,"lon":-180.5,"offset":1e300})",
       Record{true, L"1.2.3.7", L"", L"", L"", {}, {}, {}}},
      {"an offset past 14 hours, a huge integer",
       R"({"query":"1.2.3.7","lat":18446744073709551615,"offset":50401})",
       Record{false, L"1.2.3.7", L"", L"", L"", {}, {}, {}}},
      {"missing members", R"({"status":"success"})", Record{}},
      {"wrong types", R"({"query":7,"as":["x"],"city":null,"lat":"47","offset":"3600"})", Record{}},
      {"not JSON", "<html>502 Bad Gateway</html>", std::nullopt},
      {"not an object", R"(["198.51.100.7"])", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<IPLocaleInfo> info = ParseLocaleAnswer(c.answer);
    ASSERT_EQ(info.has_value(), c.record.has_value()) << c.name;
    if (!info)
      continue;
    EXPECT_EQ(LookupSucceeded(*info), c.record->succeeded) << c.name;
    EXPECT_EQ(info->query, c.record->query) << c.name;
    EXPECT_EQ(info->As, c.record->as) << c.name;
    EXPECT_EQ(info->city, c.record->city) << c.name;
    EXPECT_EQ(info->isp, c.record->isp) << c.name;
    EXPECT_EQ(info->lat, c.record->lat) << c.name;
    EXPECT_EQ(info->lon, c.record->lon) << c.name;
    EXPECT_EQ(info->offset, c.record->offset) << c.name;
  }
}

TEST(AddressLookup, OnlyAnAddressIsAnAddress) {
  for (const wchar_t* address :
       {L"0.0.0.0", L"203.0.113.9", L"255.255.255.255", L"::", L"::1", L"1::", L"2001:db8::7",
        L"2001:DB8:0:0:0:0:0:7", L"1:2:3:4:5:6:7::", L"::ffff:192.0.2.1", L"1:2:3:4:5:6:192.0.2.1",
        L"fe80::1:2"})
    EXPECT_TRUE(IsIpAddressText(address)) << address;
  for (const wchar_t* text : {L"",
                              L"1.2.3",
                              L"1.2.3.4.5",
                              L"1.2.3.256",
                              L"01.2.3.4",
                              L"1.2.3.4.",
                              L".1.2.3.4",
                              L"1.2.3.-4",
                              L" 1.2.3.4",
                              L"1.2.3.4 ",
                              L"1..3.4",
                              L"1.2.3.4\n",
                              L"1:2:3:4:5:6:7:8:9",
                              L"1:2:3:4:5:6:7",
                              L"1:2:3:4:5:6:7:8::",
                              L":::",
                              L"1::2::3",
                              L":1::",
                              L"1::2:",
                              L"12345::",
                              L"::g",
                              L"fe80::1%eth0",
                              L"2001:db8::/32",
                              L"1.2.3.4::",
                              L"::1.2.3",
                              L"localhost"})
    EXPECT_FALSE(IsIpAddressText(text)) << text;
}

// A lookup runs once at a time, and one that gets no thread ends as failed instead of never.
TEST(AddressLookup, OneLookupAtATimeAndNoThreadIsAFailure) {
  std::function<void()> pending;
  bool threadAvailable = true;
  int fetches = 0;
  AddressLookup lookup(
      [&fetches] {
        ++fetches;
        return std::optional<std::string>(R"({"status":"success","query":"192.0.2.1"})");
      },
      [&](std::function<void()> work) {
        if (!threadAvailable)
          return false;
        pending = std::move(work);
        return true;
      });
  EXPECT_TRUE(lookup.Start());
  EXPECT_FALSE(lookup.Start());
  EXPECT_EQ(lookup.TakeFinished(), std::nullopt);
  pending();
  EXPECT_EQ(fetches, 1);
  const auto finished = lookup.TakeFinished();
  ASSERT_TRUE(finished && *finished);
  EXPECT_EQ((*finished)->query, L"192.0.2.1");
  EXPECT_EQ(lookup.TakeFinished(), std::nullopt);

  threadAvailable = false;
  EXPECT_TRUE(lookup.Start());
  const auto refused = lookup.TakeFinished();
  ASSERT_TRUE(refused.has_value());
  EXPECT_FALSE(refused->has_value());
}

// The monitor's own requests start a lookup at most every 10 s; the user's at once; none is lost.
TEST(AddressLookup, AutomaticRequestsAreSpacedAndNoneIsLost) {
  LookupRequests requests;
  EXPECT_FALSE(requests.Due(0));
  requests.Automatic();
  EXPECT_TRUE(requests.Due(0));
  requests.Started(0);
  EXPECT_FALSE(requests.Due(20'000));
  requests.Automatic();
  EXPECT_FALSE(requests.Due(9'999));
  EXPECT_TRUE(requests.Due(10'000));
  requests.ByUser();
  EXPECT_TRUE(requests.Due(1));
  requests.Started(10'000);
  requests.ByUser();
  EXPECT_TRUE(requests.Due(10'001));
}

}  // namespace
}  // namespace tarvik
