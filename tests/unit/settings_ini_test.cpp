#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/ini_text.h"

namespace tarvik {
namespace {

struct ReadCase {
  const char* Guards;
  std::string Bytes;
  bool GroupFound;
  std::optional<std::wstring> Config;
};

const std::string kBom = "\xEF\xBB\xBF";
constexpr char kJunk[] = "[Tarvik]\n\0\xFF\xFE=\x80\nConfig = \xC3\x28\n";

class IniReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReading, FindsTheGroupsValueOrNothing) {
  const ReadCase& c = GetParam();
  const std::optional<IniGroup> group = ReadIniGroup(c.Bytes, L"Tarvik");
  ASSERT_EQ(group.has_value(), c.GroupFound);
  if (!group)
    return;
  EXPECT_EQ(group->Find(L"Config"), c.Config);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, IniReading,
    ::testing::Values(
        ReadCase{"as_written", kBom + "\r\n[Tarvik]\r\nConfig = 101\r\n", true, L"101"},
        ReadCase{"no_byte_order_mark", "[Tarvik]\r\nConfig = 101\r\n", true, L"101"},
        ReadCase{"line_feeds_only", "\n[Tarvik]\nLogpath = 0\nConfig = 7\n", true, L"7"},
        ReadCase{"no_spaces_and_tabs", "[Tarvik]\nConfig=\t8 \n", true, L"8"},
        ReadCase{"key_in_other_case", "[tarvik]\nCONFIG = 9", true, L"9"},
        ReadCase{"other_group_ignored", "[Other]\nConfig = 1\n[Tarvik]\nConfig = 2\n", true, L"2"},
        ReadCase{"key_of_other_group_unseen", "[Tarvik]\nX = 1\n[Other]\nConfig = 1\n", true,
                 std::nullopt},
        ReadCase{"first_repeat_counts", "[Tarvik]\nConfig = 1\nConfig = 2\n", true, L"1"},
        ReadCase{"missing_group", kBom + "\r\nConfig = 1\r\n", false, std::nullopt},
        ReadCase{"unclosed_group_name", "[Tarvik\nConfig = 1\n", false, std::nullopt},
        ReadCase{"empty_file", "", false, std::nullopt},
        ReadCase{"binary_junk", std::string(kJunk, sizeof(kJunk) - 1), true, L"\uFFFD("},
        ReadCase{"only_a_byte_order_mark_piece", "\xEF\xBB", false, std::nullopt}),
    [](const auto& test) { return std::string(test.param.Guards); });

TEST(IniReading, CutsAnOverlongValue) {
  const std::string bytes = "[Tarvik]\nLogpath = " + std::string(100000, 'a') + "\n";
  const std::optional<IniGroup> group = ReadIniGroup(bytes, L"Tarvik");
  ASSERT_TRUE(group);
  EXPECT_EQ(group->Find(L"Logpath")->size(), kMaxIniValueLength);
}

TEST(IniReading, EmptyGroupIsFoundButHoldsNothing) {
  const std::optional<IniGroup> group = ReadIniGroup("[Tarvik]\r\n[Next]\r\nConfig = 1", L"Tarvik");
  ASSERT_TRUE(group);
  EXPECT_TRUE(group->Empty());
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
