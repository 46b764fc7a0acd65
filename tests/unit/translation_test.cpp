#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "text/translation.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

// Restores the compiled-in English table for whichever test runs next.
class TranslationTest : public testing::Test {
 protected:
  void TearDown() override { LoadTranslations(kEnglish); }
};

struct FixedCase {
  const char* Name;
  int Language;
  const wchar_t* Key;
  const wchar_t* Expected;
};

void PrintTo(const FixedCase& testCase, std::ostream* out) {
  *out << testCase.Name;
}

class CompiledFixedTextTest : public TranslationTest,
                              public testing::WithParamInterface<FixedCase> {};

TEST_P(CompiledFixedTextTest, HasTheKeysWidth) {
  const FixedCase& c = GetParam();
  LoadTranslations(c.Language);
  EXPECT_EQ(TrFixed(c.Key), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, CompiledFixedTextTest,
    testing::Values(
        FixedCase{"EnglishShowsTheKey", kEnglish, L"Batt", L"Batt"},
        FixedCase{"GermanShowsItsText", kGerman, L"Batt", L"Akku"},
        FixedCase{"FrenchHasNoColumnAndShowsEnglish", kFrench, L"Batt", L"Batt"},
        FixedCase{"UnknownLanguageShowsEnglish", kLanguageUnknown, L"Batt", L"Batt"},
        FixedCase{"GermanLostMarkIsAWholeWord", kGerman, L"LOST", L"WEG!"},
        FixedCase{"TwoLetterKeyKeepsTwoLetterGerman", kGerman, L"Hi", L"Hi"},
        FixedCase{"ShortGermanTextPaddedOnTheRight", kGerman, L"Tracks", L"Titel "},
        FixedCase{"GermanTextOfTheFullWidth", kGerman, L"Repairing     ", L"wird repariert"},
        FixedCase{"GermanEmptyMediumLabel", kGerman, L"No Media / Blank", L"Kein Medium/leer"},
        FixedCase{"RightAlignedTextPaddedOnTheLeft", kGerman, L"  Old", L"  Alt"},
        FixedCase{"GermanUsedSpaceLabel", kGerman, L" Used", L" Bel."},
        FixedCase{"GermanTotalSpaceLabel", kGerman, L"Total", L" Ges."},
        FixedCase{"GermanDifferenceLabel", kGerman, L" Diff", L"Diff."},
        FixedCase{"TrailingBlanksOfTheKeyCount", kEnglish, L"Interface    ", L"Interface    "}),
    [](const testing::TestParamInfo<FixedCase>& testCase) {
      return std::string(testCase.param.Name);
    });

TEST_F(TranslationTest, PlainAndMarkedKeysWithTheSameLettersLiveApart) {
  LoadTranslations(kGerman);
  EXPECT_EQ(Tr(L"Uptime"), L"Betriebszeit");
  EXPECT_EQ(TrFixed(L"Uptime"), L"Uptime");
  EXPECT_EQ(Tr(L"Battery"), L"Akku");
  EXPECT_EQ(Tr(L"Delete"), L"L\u00F6schen");  // the umlaut survives both compilers' encodings
}

TEST_F(TranslationTest, MissingKeyYieldsAnEmptyTextEveryTime) {
  LoadTranslations(kGerman);
  EXPECT_EQ(Tr(L"No such text"), L"");
  EXPECT_EQ(Tr(L"No such text"), L"");
  EXPECT_EQ(TrFixed(L"Battery"), L"");
}

// Where a text is joined with others, or has little room, the German must still read whole.
TEST_F(TranslationTest, GermanTextsReadWellWhereTheyAreShown) {
  LoadTranslations(kGerman);
  // The drive filter names a drive by its type name followed by the word for "Drive".
  const std::pair<const wchar_t*, const wchar_t*> driveTypes[] = {
      {L"Undetermined", L"Unbestimmter Datentr\u00E4ger"},
      {L"Root Not Exist", L"Nicht eingebundener Datentr\u00E4ger"},
      {L"Removable", L"Entfernbarer Datentr\u00E4ger"},
      {L"Local", L"Lokaler Datentr\u00E4ger"},
      {L"Remote", L"Vernetzter Datentr\u00E4ger"},
      {L"CD/DVD/BR", L"Optischer Datentr\u00E4ger"},
      {L"Ramdisk", L"RAM-basierter Datentr\u00E4ger"}};
  for (const auto& [type, phrase] : driveTypes)
    EXPECT_EQ(Tr(type) + L" " + Tr(L"Drive"), phrase) << type;
  // A paused host's time column holds "-- " + "Paused" + " --" in 15 places.
  EXPECT_LE((L"-- " + Tr(L"Paused") + L" --").size(), 15u) << Tr(L"Paused");
  // The title names a missing battery in one phrase, not as "No" + " " + "Battery".
  EXPECT_EQ(Tr(L"No Battery"), L"Kein Akku");
  // An audio CD's label: "Audio" + ": " + count + " " + "Track" or "Tracks".
  EXPECT_EQ(TrFixed(L"Audio CD"), L"Audio-CD");
  EXPECT_EQ(TrFixed(L"Track"), L"Titel");
}

// A small table with a third column stands for a future French column.
// clang-format off
constexpr const wchar_t* kThreeColumns[] = {
    L"Yes",   L"Ja",      L"Oui",
    L"Empty", L"",        L"",
    L">Wide", L"Breiter", L"Large",
    L"<Left", L"Li",      L"",
    L"<Cut",  L"Abgeschnitten", L"",
    L"Yes",   L"Jawohl",  L"Oui",  // a later row replaces the earlier one
    kTranslationTableEnd, L"Never", L"Read",
};
// clang-format on

struct TableCase {
  const char* Name;
  int Language;
  bool Fixed;
  const wchar_t* Key;
  const wchar_t* Expected;
};

void PrintTo(const TableCase& testCase, std::ostream* out) {
  *out << testCase.Name;
}

class TableColumnTest : public TranslationTest, public testing::WithParamInterface<TableCase> {};

TEST_P(TableColumnTest, TakesTheColumnNumberedLikeTheLanguage) {
  const TableCase& c = GetParam();
  const TranslationTable table{3, kThreeColumns};
  LoadTranslations(table, c.Language);
  EXPECT_EQ(c.Fixed ? TrFixed(c.Key) : Tr(c.Key), c.Expected);
  // Reading one plain text straight from the table gives what loading it gives.
  if (!c.Fixed) {
    EXPECT_EQ(TrFor(c.Key, table, c.Language), c.Expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, TableColumnTest,
    testing::Values(TableCase{"SecondColumnForGerman", kGerman, false, L"Yes", L"Jawohl"},
                    TableCase{"ThirdColumnForFrench", kFrench, false, L"Yes", L"Oui"},
                    TableCase{"SpanishBeyondTheColumnsShowsKeys", kSpanish, false, L"Yes", L"Yes"},
                    TableCase{"EmptyTranslationShowsTheKey", kFrench, false, L"Empty", L"Empty"},
                    TableCase{"RightAlignedCut", kGerman, true, L"Wide", L"Brei"},
                    TableCase{"LeftAlignedPad", kGerman, true, L"Left", L"Li  "},
                    TableCase{"LeftAlignedCutKeepsTheStart", kGerman, true, L"Cut", L"Abg"},
                    TableCase{"EmptyFixedTranslationShowsTheKey", kFrench, true, L"Left", L"Left"},
                    TableCase{"NothingAfterTheEndIsRead", kGerman, false, L"Never", L""}),
    [](const testing::TestParamInfo<TableCase>& testCase) {
      return std::string(testCase.param.Name);
    });

TEST_F(TranslationTest, CutOffLastRowIsNotRead) {
  constexpr const wchar_t* kCutOff[] = {L"Yes", L"Ja", L"No"};
  LoadTranslations(TranslationTable{2, kCutOff}, kGerman);
  EXPECT_EQ(Tr(L"Yes"), L"Ja");
  EXPECT_EQ(Tr(L"No"), L"");
}

// Each row of the compiled table must be whole, and each key must appear once per map, with a
// German text written out even where it is the same word.
TEST(CompiledTranslationTable, RowsAreWholeKeysUniqueAndGermanComplete) {
  const TranslationTable table = CompiledTranslationTable();
  ASSERT_EQ(table.ColumnCount, 2);
  ASSERT_EQ(table.Cells.size() % 2, 1u);
  ASSERT_EQ(std::wstring_view(table.Cells.back()), kTranslationTableEnd);
  std::set<std::wstring> plainKeys;
  std::set<std::wstring> fixedKeys;
  for (size_t at = 0; at + 1 < table.Cells.size(); at += 2) {
    ASSERT_NE(table.Cells[at], nullptr);
    ASSERT_NE(table.Cells[at + 1], nullptr);
    const std::wstring key = table.Cells[at];
    const std::wstring german = table.Cells[at + 1];
    EXPECT_NE(key, kTranslationTableEnd) << "row " << at / 2 << " ends the table early";
    EXPECT_FALSE(german.empty()) << "row " << at / 2 << " has no German text";
    const bool fixed = !key.empty() && (key.front() == L'<' || key.front() == L'>');
    const std::wstring name = fixed ? key.substr(1) : key;
    EXPECT_FALSE(name.empty()) << "row " << at / 2 << " has no key";
    EXPECT_TRUE((fixed ? fixedKeys : plainKeys).insert(name).second)
        << "row " << at / 2 << " repeats a key";
  }
}

// A fixed-width text is cut to its key's width when shown, so a longer one shows as a fragment.
TEST(CompiledTranslationTable, FixedWidthTextsFitTheirKeysInEveryLanguage) {
  const TranslationTable table = CompiledTranslationTable();
  ASSERT_GE(table.ColumnCount, 2);
  const auto columns = static_cast<size_t>(table.ColumnCount);
  for (size_t at = 0; at + columns <= table.Cells.size(); at += columns) {
    const std::wstring_view key = table.Cells[at];
    if (key.empty() || (key.front() != L'<' && key.front() != L'>'))
      continue;
    for (size_t column = 1; column < columns; ++column) {
      const std::wstring_view text = table.Cells[at + column];
      EXPECT_LE(text.size(), key.size() - 1)
          << "row " << at / columns << ", column " << column + 1 << ": \"" << ToUtf8(text)
          << "\" is longer than its key \"" << ToUtf8(key.substr(1)) << "\"";
    }
  }
}

// A second copy shows its notice before any table is loaded, in the user's language.
TEST_F(TranslationTest, TrForReadsOneLanguageWithoutLoadingIt) {
  LoadTranslations(kEnglish);
  EXPECT_EQ(TrFor(L"Yes", kGerman), L"Ja");
  EXPECT_EQ(Tr(L"Yes"), L"Yes");  // the loaded language stays
  EXPECT_EQ(TrFor(L"Yes", kEnglish), L"Yes");
  EXPECT_EQ(TrFor(L"Yes", kFrench), L"Yes");
  EXPECT_EQ(TrFor(L"No such text", kGerman), L"");
  EXPECT_EQ(TrFor(L"Batt", kGerman), L"");  // fixed-width keys are not plain texts
}

// Monitor threads look texts up, and add missing ones, while the window thread reloads.
TEST_F(TranslationTest, ConcurrentLookupsAndReloadsAreSafe) {
  LoadTranslations(kGerman);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 500; ++i) {
        const std::wstring yes = Tr(L"Yes");
        EXPECT_TRUE(yes == L"Ja" || yes == L"Yes") << "unexpected text during a reload";
        EXPECT_EQ(Tr(L"missing " + std::to_wstring(t) + L"-" + std::to_wstring(i)), L"");
      }
    });
  }
  for (int i = 0; i < 50; ++i)
    LoadTranslations(i % 2 == 0 ? kGerman : kFrench);
  for (std::thread& thread : threads)
    thread.join();
}

}  // namespace
}  // namespace tarvik
