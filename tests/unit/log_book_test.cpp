#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/settings_index.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_system.h"
#include "logs/log_book.h"
#include "text/translation.h"

namespace tarvik {
namespace {

const std::wstring kFolder = L"C:\\Logs\\";

std::string Header(const std::string& created) {
  return "'File Created by Tarvik v2.33 x64 426.9423 on " + created +
         "\r\n'Drive Key: ddhhmmss drive: free% bytesavail bytesused bytesdiff"
         "\r\n'StMon Key: ddhhmmss drive+ volserial bytesavail bytestotal volname"
         "\r\n'NeEvt Key: ddhhmmss n# text\r\n";
}

DateParts March(int day, int hour, int minute) {
  return {2024, 3, day, hour, minute, 0};
}

bool WriteAtOnce(std::function<void()> work) {
  work();
  return true;
}

// A log book over an in-memory folder, started at `start` with logging on.
struct Rig {
  explicit Rig(DateParts start) {
    LoadTranslations(kEnglish);
    settings.Set(opt::LogEnabled, 1);
    texts.Set(slot::LogFolder, kFolder);
    book.OnFileNameChanged([this](const std::wstring& name) { names.push_back(name); });
    clock.Now = DateFromParts(start);
    book.StartUp();
  }
  void Log(DateParts when, const std::wstring& text) {
    clock.Now = DateFromParts(when);
    book.LogLine(text);
  }
  std::optional<std::string> File(const std::wstring& name) const {
    const auto found = files.Files.find(kFolder + name);
    return found == files.Files.end() ? std::nullopt : std::optional(found->second);
  }

  fakes::FakeFileSystem files;
  fakes::FakeClock clock;
  Settings settings;
  TextSlots texts;
  std::wstring shown;
  std::vector<std::wstring> names;
  LogWriterStarter starter = WriteAtOnce;
  LogBook::TextChanged show = [this](const std::wstring& text) { shown = text; };
  LogBook book{files, clock, settings, texts, show, std::ref(starter)};
};

TEST(LogBook, TheFirstRecordOfANewHourWritesTheHourBeforeAsOneUtf8BatchWithCrLf) {
  Rig rig(March(9, 10, 0));
  rig.Log(March(9, 10, 59), L"C: 42 100 200 -5");
  rig.Log(March(9, 10, 59), L"C:* 1A2B-3C4D Volume Name: \"Alt\" -> \"Gr\u00FCn\"");
  EXPECT_TRUE(rig.files.Files.empty());
  rig.Log(March(9, 11, 0), L"D: 1 2 3 4");
  EXPECT_EQ(rig.File(L"TK202403.log"), Header("2024-03-09 11:00:00") +
                                           "09105900 C: 42 100 200 -5\r\n"
                                           "09105900 C:* 1A2B-3C4D Volume Name: \"Alt\" -> "
                                           "\"Gr\xC3\xBCn\"\r\n");
  EXPECT_EQ(rig.files.Changes.size(), 1u);
  EXPECT_EQ(rig.shown, L"1 / 100");
  EXPECT_EQ(rig.book.Status(), L"1 / 100");
}

// Whatever a record's text holds (a network answer can hold anything), it stays one line of its
// own: a line break or other control character is written as a blank, and no forged record
// follows it.
TEST(LogBook, EveryRecordIsOneLineWhateverItsTextHolds) {
  struct Case {
    const char* name;
    std::wstring text;
    std::string line;
  };
  const Case cases[] = {
      {"CR LF and a forged record", L"N1 IPv4: 1.2.3.7\r\n01000000 C:+ 0 1",
       "09100500 N1 IPv4: 1.2.3.7  01000000 C:+ 0 1\r\n"},
      {"bell, tab, DEL and C1", L"a\a\tb\x7F\x85\x9F", "09100500 a  b   \r\n"},
      {"line and paragraph separators", L"a\u2028b\u2029", "09100500 a b \r\n"},
      {"kept: umlaut and bidi override", L"Gr\u00FCn\u202E",
       "09100500 Gr\xC3\xBCn\xE2\x80\xAE\r\n"},
  };
  for (const Case& c : cases) {
    Rig rig(March(9, 10, 0));
    rig.Log(March(9, 10, 5), c.text);
    rig.book.FlushAtShutDown(L"1 Hour\r\n09100600 forged", false);
    EXPECT_EQ(rig.File(L"TK202403.log"),
              Header("2024-03-09 10:05:00") + c.line +
                  "09100500 Tarvik v2.33 x64 426.9423 closed. Uptime: 1 Hour  09100600 forged\r\n")
        << c.name;
  }
}

// The old month's lines go to its file; the new month's file starts with its own header and, at
// shut-down, ends with the closing record in the user's language.
TEST(LogBook, AMonthsLinesGoToItsFileAndTheNewMonthStartsItsOwn) {
  struct Case {
    DateParts Last, First;
    std::string FirstDate, OldLine, NewLine;
    int Language;
    bool WindowsShutdown;
    std::string Closing;
  };
  const Case cases[] = {
      {{2024, 1, 31, 23, 59, 59},
       {2024, 2, 1, 0, 0, 0},
       "2024-02-01 00:00:00",
       "31235959 old\r\n",
       "01000000 new\r\n",
       kEnglish,
       false,
       "closed. Uptime: 2 Days 1 Hour"},
      // A record a day later in the same hour of the day still starts a new batch.
      {{2024, 1, 31, 0, 30, 0},
       {2024, 2, 1, 0, 10, 0},
       "2024-02-01 00:10:00",
       "31003000 old\r\n",
       "01001000 new\r\n",
       kGerman,
       true,
       "beendet. Betriebszeit: 2 Days 1 Hour [Windows Herunterfahren]"},
  };
  for (const Case& c : cases) {
    Rig rig(c.Last);
    rig.Log(c.Last, L"old");
    rig.Log(c.First, L"new");
    EXPECT_EQ(rig.File(L"TK202401.log"), Header(c.FirstDate) + c.OldLine) << c.Closing;
    EXPECT_EQ(rig.File(L"TK202402.log"), std::nullopt) << c.Closing;
    EXPECT_EQ(rig.names, (std::vector<std::wstring>{L"TK202401.log", L"TK202402.log"}));
    EXPECT_EQ(rig.book.FileName(), L"TK202402.log");
    LoadTranslations(c.Language);
    rig.book.FlushAtShutDown(L"2 Days 1 Hour", c.WindowsShutdown);
    EXPECT_EQ(rig.File(L"TK202402.log"), Header(c.FirstDate) + c.NewLine + c.NewLine.substr(0, 9) +
                                             "Tarvik v2.33 x64 426.9423 " + c.Closing + "\r\n");
  }
  LoadTranslations(kEnglish);
}

TEST(LogBook, OnlyAMissingOrEmptyFileGetsTheHeader) {
  const std::optional<std::string> before[] = {std::nullopt, "", "09080000 earlier\r\n"};
  for (const std::optional<std::string>& old : before) {
    Rig rig(March(9, 10, 0));
    if (old)
      rig.files.Files[kFolder + L"TK202403.log"] = *old;
    rig.Log(March(9, 10, 0), L"one");
    rig.Log(March(9, 11, 0), L"two");
    const std::string header = old.value_or("").empty() ? Header("2024-03-09 11:00:00") : *old;
    EXPECT_EQ(rig.File(L"TK202403.log"), header + "09100000 one\r\n") << old.value_or("missing");
  }
}

// With logging off nothing is kept; with nothing kept, shut-down writes no closing record.
TEST(LogBook, WithLoggingOffOrNothingPendingNoFileIsTouched) {
  for (const bool logging : {false, true}) {
    Rig rig(March(9, 10, 0));
    rig.settings.Set(opt::LogEnabled, logging ? 1 : 0);
    for (int hour = 10; hour < 13 && !logging; ++hour)
      rig.Log(March(9, hour, 0), L"C: 1 2 3 4");
    rig.book.FlushAtShutDown(L"1 Hour", true);
    EXPECT_FALSE(rig.files.Touched()) << logging;
    EXPECT_EQ(rig.shown, L"0 / 100") << logging;
  }
}

// Switching logging off writes what was logged until then, without a closing record; lines that
// wait for a folder that could not be written then go out at shut-down, still without one.
TEST(LogBook, SwitchingLoggingOffWritesThePendingLinesWithoutAClosingRecord) {
  for (const bool writable : {true, false}) {
    Rig rig(March(9, 10, 0));
    rig.Log(March(9, 10, 5), L"C: 1 2 3 4");
    if (!writable)
      rig.files.ReadOnlyFolders.insert(L"C:\\Logs");
    rig.settings.Set(opt::LogEnabled, 0);
    rig.book.WritePendingLines();
    EXPECT_EQ(rig.shown, writable ? L"0 / 100" : L"1 / 100, not written");
    rig.files.ReadOnlyFolders.clear();
    rig.book.FlushAtShutDown(L"1 Hour", false);
    EXPECT_EQ(rig.File(L"TK202403.log"), Header("2024-03-09 10:05:00") + "09100500 C: 1 2 3 4\r\n")
        << writable;
  }
}

TEST(LogBook, AFullBufferIsWrittenAndItsSizeFollowsExtendedBuffering) {
  Rig rig(March(9, 10, 0));
  for (int line = 0; line < 100; ++line)
    rig.Log(March(9, 10, 0), L"x");
  EXPECT_EQ(rig.shown, L"100 / 100");
  EXPECT_TRUE(rig.files.Changes.empty());
  rig.Log(March(9, 10, 1), L"y");
  EXPECT_EQ(rig.files.Changes.size(), 1u);
  EXPECT_EQ(rig.shown, L"1 / 100");

  rig.settings.Set(opt::ExtendedLogBuffering, 1);
  rig.book.ApplyBufferSize();
  for (int line = 0; line < 150; ++line)
    rig.Log(March(9, 10, 2), L"z");
  EXPECT_EQ(rig.shown, L"151 / 9999");  // the pending line was kept
  rig.settings.Set(opt::ExtendedLogBuffering, 0);
  rig.book.ApplyBufferSize();  // too many for 100 lines: written first
  EXPECT_EQ(rig.files.Changes.size(), 2u);
  const std::string file = rig.File(L"TK202403.log").value_or("");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 4 + 100 + 1 + 150);
  EXPECT_EQ(rig.shown, L"0 / 100");
}

// Shrinking the buffer writes the pending lines exactly when they would fill the small one.
TEST(LogBook, ShrinkingTheBufferWritesFirstFromAFullSmallBufferOn) {
  for (const int pending : {99, 100}) {
    SCOPED_TRACE(pending);
    Rig rig(March(9, 10, 0));
    rig.settings.Set(opt::ExtendedLogBuffering, 1);
    rig.book.ApplyBufferSize();
    for (int line = 0; line < pending; ++line)
      rig.Log(March(9, 10, 0), L"x");
    rig.settings.Set(opt::ExtendedLogBuffering, 0);
    rig.book.ApplyBufferSize();
    EXPECT_EQ(rig.files.Changes.size(), pending == 100 ? 1u : 0u);
    EXPECT_EQ(rig.shown, pending == 100 ? L"0 / 100" : L"99 / 100");
  }
}

TEST(LogBook, AFolderThatCannotBeWrittenKeepsTheNewestLinesForTheirMonthUntilItCan) {
  Rig rig({2024, 2, 29, 23, 0, 0});
  rig.files.ReadOnlyFolders.insert(L"C:\\Logs");
  for (int line = 1; line <= 101; ++line)  // the last finds the buffer full, and the write fails
    rig.Log({2024, 2, 29, 23, line / 101, 0}, L"line " + std::to_wstring(line));
  EXPECT_EQ(rig.shown, L"100 / 100, 1 dropped, not written");
  const int reads = rig.files.Reads;
  rig.clock.Tick += 59'000;
  rig.Log({2024, 3, 1, 0, 0, 0}, L"line 102");  // a new hour, but tried less than a minute ago
  EXPECT_EQ(rig.files.Reads, reads);
  EXPECT_EQ(rig.shown, L"100 / 100, 2 dropped, not written");

  rig.files.ReadOnlyFolders.clear();
  rig.clock.Tick += 1'000;
  rig.Log({2024, 3, 1, 0, 1, 0}, L"line 103");
  std::string february = Header("2024-03-01 00:01:00");
  for (int line = 3; line <= 100; ++line)
    february += "29230000 line " + std::to_string(line) + "\r\n";
  EXPECT_EQ(rig.File(L"TK202402.log"), february + "29230100 line 101\r\n");
  EXPECT_EQ(rig.File(L"TK202403.log"), Header("2024-03-01 00:01:00") + "01000000 line 102\r\n");
  EXPECT_EQ(rig.shown, L"1 / 100, 2 dropped");
}

// A disk that fills in the middle of a batch: the lines written whole are not written again, and
// the next write first finishes the torn line (or header), so the file reads as if nothing had
// stopped it.
TEST(LogBook, ABatchCutOffPartWayIsNeitherWrittenTwiceNorLeftTorn) {
  const std::string header = Header("2024-03-09 11:00:00");
  const std::string lines = "09100000 one\r\n09100000 two\r\n";
  for (const size_t room : {size_t{0}, size_t{10}, header.size(), header.size() + 3,
                            header.size() + 14, header.size() + lines.size() - 1}) {
    Rig rig(March(9, 10, 0));
    rig.Log(March(9, 10, 0), L"one");
    rig.Log(March(9, 10, 0), L"two");
    rig.files.AppendRoom = room;
    rig.Log(March(9, 11, 0), L"three");
    EXPECT_TRUE(rig.shown.ends_with(L", not written")) << room;
    rig.files.AppendRoom.reset();
    rig.book.FlushAtShutDown(L"1 Hour", false);
    EXPECT_EQ(rig.File(L"TK202403.log"),
              header + lines +
                  "09110000 three\r\n09110000 Tarvik v2.33 x64 426.9423 closed. "
                  "Uptime: 1 Hour\r\n")
        << room;
  }
}

// A log folder on a share that stopped answering: while the writer hangs inside an append,
// logging, flushing and the closing write all return (the closing write after a short wait).
// Once the share answers, that one writer writes every line once, in order. A writer that could
// not be started at all leaves its lines in the buffer, and the next record asks again.
TEST(LogBook, AWriterHangingInAnAppendHoldsUpNoCaller) {
  Rig rig(March(9, 10, 0));
  std::function<void()> kept;
  int starts = 0;
  rig.starter = [&](std::function<void()> work) {
    kept = std::move(work);
    return ++starts > 1;  // the first is refused
  };
  rig.Log(March(9, 10, 0), L"one");
  rig.Log(March(9, 11, 0), L"two");
  EXPECT_EQ(rig.shown, L"2 / 100");
  rig.Log(March(9, 11, 5), L"three");
  std::promise<void> entered, answer;
  rig.files.OnAppend = [&, first = true](const std::wstring&) mutable {
    if (!std::exchange(first, false))
      return;
    entered.set_value();
    answer.get_future().wait();
  };
  std::thread writer(kept);
  entered.get_future().wait();
  auto calls = std::async(std::launch::async, [&] {
    rig.Log(March(9, 12, 0), L"four");
    rig.book.WritePendingLines();
    rig.book.ApplyBufferSize();
    rig.book.FlushAtShutDown(L"1 Hour", false);
  });
  const bool returned = calls.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
  answer.set_value();
  writer.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(starts, 2);
  EXPECT_EQ(rig.File(L"TK202403.log"),
            Header("2024-03-09 11:05:00") +
                "09100000 one\r\n09110000 two\r\n09110500 three\r\n"
                "09120000 four\r\n09120000 Tarvik v2.33 x64 426.9423 closed. Uptime: 1 Hour\r\n");
}

}  // namespace
}  // namespace tarvik
