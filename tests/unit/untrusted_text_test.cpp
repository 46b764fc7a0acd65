#include <gtest/gtest.h>

#include <string>

#include "text/untrusted_text.h"

namespace tarvik {
namespace {

TEST(UntrustedText, LosesControlsSeparatorsAndDirectionTurnsAndIsCutWhole) {
  struct Case {
    const char* name;
    std::wstring text;
    size_t most;
    std::wstring kept;
  };
  const std::wstring emoji = L"\U0001F600";  // a surrogate pair where wide text is UTF-16
  const Case cases[] = {
      {"plain", L"Z\u00FCrich", 64, L"Z\u00FCrich"},
      {"C0, DEL and C1", L"a\u0007\r\n\tb\u007F\u0080\u009Fc", 64, L"abc"},
      {"kept around the controls", L"\u001F\u00A0x\u00A0", 64, L"\u00A0x\u00A0"},
      {"separators", L"a\u2028b\u2029c", 64, L"abc"},
      {"direction turns", L"\u202Ea\u202Ab\u2066c\u2069\u200E\u200F\u061Cd\u202D", 64, L"abcd"},
      {"kept beside them", L"\u2029\u2065\u2070\u202F", 64, L"\u2065\u2070\u202F"},
      {"cut at most", std::wstring(5'000, L'x'), 64, std::wstring(64, L'x')},
      {"controls do not count", L"\u0007ab\u0007c", 2, L"ab"},
      {"a pair counts once", L"a" + emoji + L"bc", 3, L"a" + emoji + L"b"},
      {"cut before a pair, not inside", L"ab" + emoji, 2, L"ab"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UntrustedText(c.text, c.most), c.kept) << c.name;
  if constexpr (sizeof(wchar_t) == 2) {
    const std::wstring half{L'a', static_cast<wchar_t>(0xD83D), L'b', static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(UntrustedText(half, 64), L"ab");
  }
}

TEST(UntrustedText, OneLineTextTurnsEveryBreakIntoABlank) {
  EXPECT_EQ(OneLineText(L"a\r\nb\u0085c\u2028d\u0001e\u007F\u00A0\u202E"),
            std::wstring(L"a  b c d e \u00A0\u202E"));
}

}  // namespace
}  // namespace tarvik
