#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/utf8.h"

namespace tarvik {
namespace {

TEST(Utf8, GermanLettersEuroAndAnEmojiSurviveTheRoundTrip) {
  const std::string bytes = "\xC3\xA4 \xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80";
  const std::wstring text = L"\u00E4 \u00DF \u20AC \U0001F600";
  EXPECT_EQ(FromUtf8(bytes), text);
  EXPECT_EQ(ToUtf8(text), bytes);
}

struct MalformedCase {
  const char* Name;
  std::string Bytes;
};

void PrintTo(const MalformedCase& testCase, std::ostream* out) {
  *out << testCase.Name;
}

class MalformedUtf8Test : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedUtf8Test, BecomesOneReplacementCharacter) {
  EXPECT_EQ(FromUtf8("a" + GetParam().Bytes + "b"), L"a\uFFFDb");
}

INSTANTIATE_TEST_SUITE_P(Sequences, MalformedUtf8Test,
                         testing::Values(MalformedCase{"InvalidLeadByte", "\xFF"},
                                         MalformedCase{"LoneContinuationByte", "\x80"},
                                         MalformedCase{"OverlongSlash", "\xC0\xAF"},
                                         MalformedCase{"EncodedSurrogate", "\xED\xA0\x80"},
                                         MalformedCase{"BeyondUnicode", "\xF4\x90\x80\x80"}),
                         [](const testing::TestParamInfo<MalformedCase>& testCase) {
                           return std::string(testCase.param.Name);
                         });

TEST(Utf8, LoneSurrogateInWideTextBecomesReplacementCharacter) {
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tarvik
