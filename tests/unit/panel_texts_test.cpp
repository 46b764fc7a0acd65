#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/history_rows.h"
#include "text/translation.h"
#include "ui/panel_copies.h"
#include "ui/system_block.h"

namespace tarvik {
namespace {

using Rows = std::vector<std::wstring>;

class PanelTexts : public ::testing::Test {
 protected:
  void SetUp() override { LoadTranslations(kEnglish); }
};

SystemFacts SampleFacts() {
  SystemFacts facts;
  facts.ProcessorName = L"Intel(R) Core(TM)  i7-8700   CPU @ 3.20GHz";
  facts.LogicalProcessors = 12;
  facts.TotalPhysicalBytes = 17072381952;  // 16281.49 MiB, 15.8999 GiB
  facts.DisplayAdapter = L"  NVIDIA  GeForce GTX 1060  ";
  facts.DesktopWidth = 1366;
  facts.DesktopHeight = 768;
  facts.ScalePercent = 125;
  facts.ColourDepth = 32;
  facts.RefreshRate = 60;
  facts.OsName = L"Windows 11 (23H2)";
  facts.Build = 22631;
  facts.ComputerName = L"DESK";
  facts.UserName = L"anna";
  return facts;
}

TEST_F(PanelTexts, SystemBlockHasThreeLines) {
  EXPECT_EQ(SystemBlockText(SampleFacts()),
            L"Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz (12 CPU), Memory: 16281M (15.90G)\r\n"
            L"NVIDIA GeForce GTX 1060 (1366 x 768, Text Size 125% [1093 x 614], 32-bit Color, "
            L"60Hz)\r\n"
            L"OS: Windows 11 (23H2) Build: 22631, Computer Name: DESK, User Name: anna\r\n");
  struct Case {
    int Scale;
    SafeMode Safe;
    const wchar_t* ScaleText;
    const wchar_t* SafeText;
  };
  const Case cases[] = {
      {100, SafeMode::Off, L"Text Size 100%, ", L"Build: 22631, "},
      {0, SafeMode::Minimal, L"Text Size 0%, ", L"Build: 22631 [Safe Mode], "},
      {150, SafeMode::WithNetwork, L"Text Size 150% [911 x 512], ",
       L"Build: 22631 [Safe Mode+Network], "},
  };
  for (const Case& c : cases) {
    SystemFacts facts = SampleFacts();
    facts.ScalePercent = c.Scale;
    facts.Safe = c.Safe;
    const std::wstring block = SystemBlockText(facts);
    EXPECT_NE(block.find(c.ScaleText), std::wstring::npos) << block;
    EXPECT_NE(block.find(c.SafeText), std::wstring::npos) << block;
  }
}

TEST_F(PanelTexts, HistoryRowsKeepAtMostLimitPlusOne) {
  struct Case {
    int Limit, Position;
    Rows Expected;
  };
  const std::wstring added = L"01-05  09:07:03\nnew";
  const Case cases[] = {
      {2, 0, {added, L"a", L"b"}},
      {5, 1, {L"a", added, L"b", L"c", L"d"}},
      {0, 0, {added}},
      {-1, 0, {added}},
      {2, 10, {L"a", L"b", added}},  // a position past the end appends
      {3, -3, {added, L"a", L"b", L"c"}},
  };
  const DateValue now = DateFromParts({2024, 1, 5, 9, 7, 3});
  for (const Case& c : cases) {
    Rows rows = {L"a", L"b", L"c", L"d"};
    AddHistoryRow(rows, c.Limit, c.Position, L"new", now);
    EXPECT_EQ(rows, c.Expected) << c.Limit << " " << c.Position;
  }
}

TEST_F(PanelTexts, SystemCopyIsTheBlockThenTheEvents) {
  EXPECT_EQ(SystemPanelCopy(L"one\r\ntwo\r\nthree\r\n", {L"01-05  09:07:03 - started", L"e2"}),
            L"one\r\ntwo\r\nthree\r\n\r\n01-05  09:07:03 - started\r\ne2\r\n");
}

// Pasted into a spreadsheet, each drive is one row of cells; the events stay one a line.
TEST_F(PanelTexts, StorageCopyIsOneDriveALineWithTabsThenTheEvents) {
  EXPECT_EQ(StoragePanelCopy({L"C:\n 28%   72.9G\n-  4096B\n+    12K\n  187.1G", L"===\n 50%"},
                             {L"-- #0001 2024-03-09 14:05:07", L"E: lost. VolSerial: 0000-BEEF"}),
            L"C:\t 28%   72.9G\t-  4096B\t+    12K\t  187.1G\r\n===\t 50%\r\n\r\n"
            L"-- #0001 2024-03-09 14:05:07\r\nE: lost. VolSerial: 0000-BEEF\r\n");
}

TEST_F(PanelTexts, ProcessorsCopyReadsTheFirstRowUnderEachTitle) {
  const ListContents description{{L"Base Speed", L"Brand", L"CPU Description"},
                                 {L"3.20 GHz\nIntel", L"ignored\nrow"}};
  const ListContents load{{L"Speed", L"Load%", L"", L"Threads"}, {}};
  EXPECT_EQ(ProcessorsPanelCopy(description, load),
            L"Base Speed = 3.20 GHz\r\nBrand = Intel\r\nCPU Description = \r\n"
            L"Speed = \r\nLoad% = \r\n");

  ListContents wide;
  std::wstring row;
  for (int column = 0; column < 25; ++column) {
    wide.ColumnTitles.push_back(L"T" + std::to_wstring(column));
    row += (column > 0 ? L"\n" : L"") + std::to_wstring(column);
  }
  wide.Rows.push_back(row);
  const std::wstring copy = ProcessorsPanelCopy(wide, {});
  EXPECT_NE(copy.find(L"T20 = 20\r\n"), std::wstring::npos);
  EXPECT_EQ(copy.find(L"T21"), std::wstring::npos);
}

}  // namespace
}  // namespace tarvik
