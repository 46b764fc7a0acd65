#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "monitors/network/address_lookup.h"
#include "monitors/network/ip_locale_info.h"

namespace tarvik {
namespace {

TEST(AddressLookup, AnswersFillTheRecordWhateverTheCaseOfTheirNames) {
  struct Case {
    const char* name;
    std::string answer;
    bool parsed;
    std::wstring query, as, city;
    float lat;
    int64_t offset;
  };
  const Case cases[] = {
      {"as the service writes it",
       R"({"status":"success","query":"198.51.100.7","as":"AS1 Net","city":"Zürich","lat":47.37,"offset":3600})",
       true, L"198.51.100.7", L"AS1 Net", L"Zürich", 47.37f, 3600},
      {"odd case",
       R"({"QUERY":"198.51.100.7","As":"AS1 Net","CiTy":"Bern","LAT":-1.5,"Offset":-7200})", true,
       L"198.51.100.7", L"AS1 Net", L"Bern", -1.5f, -7200},
      {"missing members", R"({"status":"success"})", true, L"", L"", L"", 0.0f, 0},
      {"wrong types", R"({"query":7,"as":["x"],"city":null,"lat":"47","offset":"3600"})", true, L"",
       L"", L"", 0.0f, 0},
      {"not JSON", "<html>502 Bad Gateway</html>", false, L"", L"", L"", 0.0f, 0},
      {"not an object", R"(["198.51.100.7"])", false, L"", L"", L"", 0.0f, 0},
      {"empty", "", false, L"", L"", L"", 0.0f, 0},
  };
  for (const Case& c : cases) {
    const std::optional<IPLocaleInfo> info = ParseLocaleAnswer(c.answer);
    ASSERT_EQ(info.has_value(), c.parsed) << c.name;
    if (!info)
      continue;
    EXPECT_EQ(info->query, c.query) << c.name;
    EXPECT_EQ(info->As, c.as) << c.name;
    EXPECT_EQ(info->city, c.city) << c.name;
    EXPECT_FLOAT_EQ(info->lat, c.lat) << c.name;
    EXPECT_EQ(info->offset, c.offset) << c.name;
  }
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
  lookup.Start();
  lookup.Start();
  EXPECT_EQ(lookup.TakeFinished(), std::nullopt);
  pending();
  EXPECT_EQ(fetches, 1);
  const auto finished = lookup.TakeFinished();
  ASSERT_TRUE(finished && *finished);
  EXPECT_EQ((*finished)->query, L"192.0.2.1");
  EXPECT_EQ(lookup.TakeFinished(), std::nullopt);

  threadAvailable = false;
  lookup.Start();
  const auto refused = lookup.TakeFinished();
  ASSERT_TRUE(refused.has_value());
  EXPECT_FALSE(refused->has_value());
}

}  // namespace
}  // namespace tarvik
