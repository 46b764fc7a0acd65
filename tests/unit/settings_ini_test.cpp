#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/ini_text.h"

namespace tarvik {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
constexpr char kJunk[] = "[Tarvik]\n\0\xFF\xFE=\x80\nConfig = \xC3\x28\n";

TEST(IniReading, FindsTheGroupsValueInAnyLayout) {
  struct Case {
    const char* Guards;
    std::string Bytes;
    bool GroupFound;
    std::optional<std::wstring> Config;
  };
  const Case cases[] = {
      {"as written", kBom + "\r\n[Tarvik]\r\nConfig = 101\r\n", true, L"101"},
      {"no byte-order mark", "[Tarvik]\r\nConfig = 101\r\n", true, L"101"},
      {"line feeds only, no spaces", "\n[Tarvik]\nLogpath = 0\nConfig=\t7 \n", true, L"7"},
      {"key in other case", "[tarvik]\nCONFIG = 9", true, L"9"},
      {"other group ignored", "[Other]\nConfig = 1\n[Tarvik]\nConfig = 2\n", true, L"2"},
      {"key of other group unseen", "[Tarvik]\nX = 1\n[Other]\nConfig = 1\n", true, std::nullopt},
      {"first repeat counts", "[Tarvik]\nConfig = 1\nConfig = 2\n", true, L"1"},
      {"second group keeps the first's keys", "[Tarvik]\nConfig = 1\n[Tarvik]\nLogpath = 0\n", true,
       L"1"},
      {"second group adds its keys", "[Tarvik]\nLogpath = 0\n[X]\n[Tarvik]\nConfig = 3\n", true,
       L"3"},
      {"missing group", kBom + "\r\nConfig = 1\r\n", false, std::nullopt},
      {"unclosed group name", "[Tarvik\nConfig = 1\n", false, std::nullopt},
      {"empty file", "", false, std::nullopt},
      {"binary junk", std::string(kJunk, sizeof(kJunk) - 1), true, L"\uFFFD("}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Guards);
    const std::optional<IniGroup> group = ReadIniGroup(c.Bytes, L"Tarvik");
    ASSERT_EQ(group.has_value(), c.GroupFound);
    if (!group)
      continue;
    EXPECT_EQ(group->Find(L"Config"), c.Config);
  }
}

TEST(IniReading, CutsAnOverlongValue) {
  const std::string bytes = "[Tarvik]\nLogpath = " + std::string(100000, 'a') + "\n";
  const std::optional<IniGroup> group = ReadIniGroup(bytes, L"Tarvik");
  ASSERT_TRUE(group);
  EXPECT_EQ(group->Find(L"Logpath")->size(), kMaxIniValueLength);
}

TEST(IniWriting, WritesByteOrderMarkGroupAndOnlyKeysWithValues) {
  const std::string text = WriteIniText(
      L"Tarvik", {{L"Config", L"1"}, {L"Digits", L""}, {L"Logpath", L"C:\\Log\u00E4\\"}});
  EXPECT_EQ(text, kBom + "\r\n[Tarvik]\r\nConfig = 1\r\nLogpath = C:\\Log\xC3\xA4\\\r\n");
}

TEST(IniWriting, ValueCannotStartALineOfItsOwn) {
  const std::string text = WriteIniText(L"Tarvik", {{L"Logpath", L"C:\\a\r\nConfig = 0"}});
  const std::optional<IniGroup> group = ReadIniGroup(text, L"Tarvik");
  ASSERT_TRUE(group);
  EXPECT_FALSE(group->Find(L"Config"));
}

}  // namespace
}  // namespace tarvik
