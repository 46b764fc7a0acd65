#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fakes/fake_file_system.h"
#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_state_file.h"
#include "text/translation.h"

namespace tarvik {
namespace {

const std::wstring kPath = L"C:\\Data\\TK-Ping.json";
const std::wstring kBackup = L"C:\\Data\\TK-Ping.bak";
const std::wstring kRefused = L"C:\\Data\\TK-Ping.bad";
using Files = std::map<std::wstring, std::string>;

// A host whose every member is in its range and as the program writes it, extremes included;
// each seed gives its own address.
PSys Host(int32_t seed, size_t samples) {
  constexpr int32_t kSampleValues[] = {-4, -1, -2, 0, 1, 7};
  const std::wstring address =
      L"10.0." + std::to_wstring(seed / 256) + L"." + std::to_wstring(seed % 256);
  PSys host{L"1733700000." + std::to_wstring(seed),
            0,
            seed,
            seed - 1,
            1,
            -1,
            seed + 3,
            std::numeric_limits<int32_t>::max(),
            std::numeric_limits<int32_t>::max(),
            255,
            8,
            -1,
            static_cast<int32_t>(*ParseIPv4(address)),
            AddressSortKey(address),
            1,
            0xFFFFFF,
            0x123456,
            L"Büro \"Ä\" \\ \U0001F600",
            address,
            {}};
  for (size_t i = 0; i < samples; ++i)
    host.PV.push_back({static_cast<int32_t>(1733700000 + i), kSampleValues[i % 6]});
  return host;
}

PingList Hosts(int count) {
  PingList hosts;
  for (int32_t seed = 1; seed <= count; ++seed)
    hosts.push_back(Host(seed, 0));
  return hosts;
}

PingLoadResult Load(Files start) {
  fakes::FakeFileSystem files;
  files.Files = std::move(start);
  return LoadPingList(files, kPath);
}

bool Save(const PingList& hosts, platform::FileSystem& files,
          PingFileStanding standing = PingFileStanding::Read) {
  return SavePingList(hosts, standing, files, kPath);
}

std::string Saved(const PingList& hosts) {
  fakes::FakeFileSystem files;
  EXPECT_TRUE(Save(hosts, files));
  return files.Files[kPath];
}

class PingStateFileTest : public ::testing::Test {
 protected:
  PingStateFileTest() { LoadTranslations(kEnglish); }
};

TEST_F(PingStateFileTest, EveryMemberComesBackInTheRecordsOrder) {
  const PingList hosts = {Host(7, 3), Host(8, 0), Host(256, 1)};
  const std::string text = Saved(hosts);
  const PingLoadResult loaded = Load({{kPath, text}});
  ASSERT_EQ(loaded.Outcome, PingLoadOutcome::Loaded);
  EXPECT_EQ(loaded.Hosts, hosts);
  std::vector<std::string> names;
  const auto file = nlohmann::ordered_json::parse(text);
  for (const auto& member : file[0].items())
    names.push_back(member.key());
  EXPECT_EQ(names, (std::vector<std::string>{"Init", "Actv", "Sent", "Recv", "Lost", "Time", "Best",
                                             "Wors", "Down", "PTTL", "PTOS", "Last", "Valu", "Sort",
                                             "HiLi", "CFor", "CBak", "Host", "Addr", "PV"}));
  EXPECT_EQ(file[0]["PV"][2], (nlohmann::ordered_json{{"S", 1733700002}, {"T", -2}}));
}

// Any spacing reads; a missing member keeps the record's default, an unknown one is passed over;
// a host keeps its newest 1000 samples, and the list holds up to 1024 hosts.
TEST_F(PingStateFileTest, ReaderTakesWhatAWrittenOrEditedFileHolds) {
  const PingLoadResult spaced = Load({{kPath,
                                       " [\r\n\t{ \"Sent\" :\n5 , \"X\": {\"a\": [1, {}]},"
                                       "\"Addr\": \"10.0.0.1\","
                                       "\"PV\":[{\"T\":3, \"S\": 9, \"Y\": null}] } ]\n"}});
  ASSERT_EQ(spaced.Outcome, PingLoadOutcome::Loaded);
  EXPECT_EQ(spaced.Reason, L"");
  PSys expected;
  expected.Sent = 5;
  expected.Addr = L"10.0.0.1";
  expected.Valu = static_cast<int32_t>(*ParseIPv4(L"10.0.0.1"));
  expected.Sort = AddressSortKey(L"10.0.0.1");
  expected.PV = {{9, 3}};
  EXPECT_EQ(spaced.Hosts, PingList{expected});
  EXPECT_TRUE(Load({{kPath, "[]"}}).Hosts.empty());
  EXPECT_EQ(Load({{kPath, "[]"}}).Outcome, PingLoadOutcome::Loaded);

  for (const size_t samples : {kMaxSamples, kMaxSamples + 1, kMaxSamples + 5}) {
    const PingLoadResult loaded = Load({{kPath, Saved({Host(1, samples)})}});
    ASSERT_EQ(loaded.Hosts.at(0).PV.size(), kMaxSamples);
    EXPECT_EQ(loaded.Hosts[0].PV.front().S, 1733700000 + static_cast<int32_t>(samples - 1000));
  }
  EXPECT_EQ(Load({{kPath, Saved(Hosts(kMaxPingHosts))}}).Hosts.size(), 1024u);
}

PSys Plain(const wchar_t* address, const std::function<void(PSys&)>& tweak = {}) {
  PSys host;
  host.Addr = address;
  host.Valu = static_cast<int32_t>(*ParseIPv4(address));
  host.Sort = AddressSortKey(address);
  if (tweak)
    tweak(host);
  return host;
}

// A hand-edited or damaged file keeps every host that can be pinged: values are brought into
// their range, what cannot be repaired is left out, the header says how many hosts were left out,
// and the original is kept under TK-Ping.bad whenever anything was changed or left out.
TEST_F(PingStateFileTest, EveryGoodHostOfAnEditedFileIsKept) {
  constexpr int32_t kTop = std::numeric_limits<int32_t>::max();
  const std::wstring invalid = L"Ping list file holds invalid values, kept as TK-Ping.bad";
  struct Case {
    const char* Name;
    std::string Text;
    PingList Expected;
    std::wstring Reason;
  };
  const std::vector<Case> cases = {
      {"byte-order mark", "\xEF\xBB\xBF" + Saved({Host(1, 1)}), {Host(1, 1)}, L""},
      {"counters at their top",
       R"([{"Addr":"10.0.0.1","Sent":2147483647,"Recv":2147483647,"Lost":2147483647}])",
       {Plain(L"10.0.0.1", [](PSys& h) { h.Sent = h.Recv = h.Lost = kTop; })},
       L""},
      {"numbers out of range",
       R"([{"Addr":"10.0.0.1","Sent":2147483648,"Lost":-5,"Down":-1,"PTTL":300,"Last":7,)"
       R"("Best":-9,"Wors":-2,"Time":-3,"CBak":16777216}])",
       {Plain(L"10.0.0.1",
              [](PSys& h) {
                h.Sent = kTop;
                h.PTTL = 255;
                h.Last = 1;
                h.Time = -1;
                h.CBak = 0xFFFFFF;
              })},
       invalid},
      {"fractions",
       R"([{"Addr":"10.0.0.1","Time":1.5,"PV":[{"S":1e3,"T":2.9}]}])",
       {Plain(L"10.0.0.1",
              [](PSys& h) {
                h.Time = 1;
                h.PV = {{1000, 2}};
              })},
       invalid},
      {"switches",
       R"([{"Addr":"10.0.0.1","Actv":2,"HiLi":2},{"Addr":"10.0.0.2","Actv":0,"HiLi":1},)"
       R"({"Addr":"10.0.0.3","Actv":-1,"HiLi":-1}])",
       {Plain(L"10.0.0.1"),
        Plain(L"10.0.0.2",
              [](PSys& h) {
                h.Actv = 0;
                h.HiLi = 1;
              }),
        Plain(L"10.0.0.3")},
       invalid},
      {"the address from either member",
       R"([{"Addr":"10.0.0.1"},{"Valu":4294967295},{"Valu":16777226,"Addr":" 10.0.0.2"}])",
       {Plain(L"10.0.0.1"), Plain(L"255.255.255.255"), Plain(L"10.0.0.2")},
       invalid},
      {"hosts that cannot be pinged",
       R"([{"Sent":3},{"Addr":"0.0.0.0"},{"Addr":"x","Valu":0},{"Addr":"10.0.0.1"},)"
       R"({"Addr":"10.0.0.1"},5,[1]])",
       {Plain(L"10.0.0.1")},
       L"6 hosts left out of the ping list file, kept as TK-Ping.bad"},
      {"one host too many", Saved(Hosts(kMaxPingHosts + 1)), Hosts(kMaxPingHosts),
       L"1 host left out of the ping list file, kept as TK-Ping.bad"},
      {"samples the program never writes",
       R"([{"Addr":"10.0.0.1","PV":[{"S":5,"T":-3},{"T":4},{"S":-1,"T":4},{"S":6,"T":-4},)"
       R"(7,{"S":"8","T":1}]}])",
       {Plain(L"10.0.0.1",
              [](PSys& h) {
                h.PV = {{6, -4}};
              })},
       invalid},
      {"values of the wrong kind",
       R"([{"Addr":"10.0.0.1","Sent":"5","Host":7,"Actv":null,"PV":{"S":1},"Init":[1]}])",
       {Plain(L"10.0.0.1")},
       invalid},
      {"descriptions",
       R"([{"Addr":"10.0.0.1","Host":"a\tb\u0007c 1234567890123456789012345678901234567890"}])",
       {Plain(L"10.0.0.1", [](PSys& h) { h.Host = L"abc 123456789012345678901234567890123456"; })},
       invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    fakes::FakeFileSystem files;
    files.Files = {{kPath, c.Text}};
    const PingLoadResult loaded = LoadPingList(files, kPath);
    EXPECT_EQ(loaded.Outcome, PingLoadOutcome::Loaded);
    EXPECT_EQ(loaded.Hosts, c.Expected);
    EXPECT_EQ(loaded.Reason, c.Reason);
    EXPECT_EQ(files.Files.count(kRefused) > 0 ? files.Files[kRefused] : "",
              c.Reason.empty() ? "" : c.Text);
  }
}

// A file that is not as written is refused as a whole and kept under TK-Ping.bad as it is read,
// so the message that says so is true; the next save keeps it there, whether that save has hosts
// or the user emptied the list.
TEST_F(PingStateFileTest, RefusedFileIsReportedAndKeptAside) {
  const std::string damaged = "Ping list file damaged, kept as TK-Ping.bad";
  const std::string invalid = "Ping list file holds invalid values, kept as TK-Ping.bad";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Saved({Host(1, 2)}).substr(0, 150), damaged},
      {"not json", damaged},
      {"[{}] x", damaged},
      {"\xEF\xBB\xBF", damaged},
      {"{\"Sent\": 1}", invalid},
      {"5", invalid},
      {"\"[]\"", invalid},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(text.substr(0, 60));
    fakes::FakeFileSystem files;
    files.Files = {{kPath, text}, {kRefused, "older"}};
    const PingLoadResult loaded = LoadPingList(files, kPath);
    EXPECT_EQ(loaded.Outcome, PingLoadOutcome::Refused);
    EXPECT_TRUE(loaded.Hosts.empty());
    EXPECT_EQ(std::string(loaded.Reason.begin(), loaded.Reason.end()), reason);
    EXPECT_EQ(files.Files, (Files{{kPath, text}, {kRefused, text}})) << "only the copy is made";
    const PingLoadResult fromBackup = Load({{kPath, text}, {kBackup, Saved({Host(3, 1)})}});
    EXPECT_EQ(fromBackup.Hosts, PingList{Host(3, 1)});
    EXPECT_EQ(fromBackup.Reason, loaded.Reason);
    for (const bool withHosts : {false, true}) {
      fakes::FakeFileSystem later;
      later.Files = {{kPath, text}, {kRefused, "older"}};
      EXPECT_EQ(Save(withHosts ? PingList{Host(2, 1)} : PingList{}, later,
                     withHosts ? PingFileStanding::Read : PingFileStanding::Emptied),
                withHosts);
      EXPECT_EQ(later.Files[kRefused], text);
      EXPECT_EQ(later.Files.count(kPath), withHosts ? 1u : 0u);
    }
  }
  fakes::FakeFileSystem readOnly;
  readOnly.Files = {{kPath, "not json"}};
  readOnly.ReadOnlyFolders = {L"C:\\Data"};
  EXPECT_EQ(LoadPingList(readOnly, kPath).Reason, L"Ping list file damaged")
      << "no copy could be made, so none is named";
}

// What a save may do to the files follows from where the list in memory came from: a list never
// read (a quit within the first second) or one that a locked file did not give leaves them alone
// when empty, and only a list the user emptied takes them along. A file that could not be read
// makes way as TK-Ping.bad before the first list is written over it, and only once.
TEST_F(PingStateFileTest, AnEmptyListRemovesTheFilesOnlyWhenTheUserEmptiedOneReadFromThem) {
  const std::string old = Saved({Host(1, 1)});
  const std::string newer = Saved({Host(2, 1)});
  struct Case {
    const char* Name;
    PingFileStanding Standing;
    bool WithHosts;
    Files After;
    PingFileStanding StandingAfter;
  };
  using S = PingFileStanding;
  const Files both = {{kPath, old}, {kBackup, old}};
  const std::vector<Case> cases = {
      {"never read, empty", S::Unread, false, both, S::Unread},
      {"never read, hosts", S::Unread, true, both, S::Unread},
      {"read, empty", S::Read, false, both, S::Read},
      {"read, hosts", S::Read, true, {{kPath, newer}}, S::Read},
      {"emptied", S::Emptied, false, {}, S::Emptied},
      {"unreadable, empty", S::Unreadable, false, both, S::Unreadable},
      {"unreadable, hosts", S::Unreadable, true, {{kPath, newer}, {kRefused, old}}, S::Read},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    fakes::FakeFileSystem files;
    files.Files = both;
    PingFileStanding standing = c.Standing;
    EXPECT_EQ(SavePingList(c.WithHosts ? PingList{Host(2, 1)} : PingList{}, standing, files, kPath),
              c.WithHosts && c.StandingAfter == PingFileStanding::Read);
    EXPECT_EQ(files.Files, c.After);
    EXPECT_EQ(standing, c.StandingAfter);
  }
}

// A file held by another program at start is reported as unreadable, with no copy claimed, and
// survives the saves that follow once it reads again; so does a backup that stood in for a
// missing file. The list read from it later is the user's, not an empty one.
TEST_F(PingStateFileTest, AFileThatCouldNotBeReadIsNeverTakenForAnEmptyOne) {
  const std::string old = Saved({Host(1, 1)});
  for (const std::wstring& locked : {kPath, kBackup}) {
    SCOPED_TRACE(locked == kPath ? "file" : "backup");
    fakes::FakeFileSystem files;
    files.Files = {{locked, old}};
    files.Unreadable = {locked};
    const PingLoadResult loaded = LoadPingList(files, kPath);
    EXPECT_EQ(loaded.Outcome, PingLoadOutcome::Unreadable);
    EXPECT_EQ(loaded.Reason, L"Ping list file could not be read");
    EXPECT_EQ(loaded.Standing, PingFileStanding::Unreadable);
    EXPECT_TRUE(files.Changes.empty());
    files.Unreadable.clear();
    PingFileStanding standing = loaded.Standing;
    EXPECT_FALSE(SavePingList({}, standing, files, kPath));
    EXPECT_EQ(files.Files, (Files{{locked, old}}));
    EXPECT_TRUE(SavePingList({Host(5, 1)}, standing, files, kPath));
    EXPECT_TRUE(SavePingList({Host(6, 1)}, standing, files, kPath));
    EXPECT_EQ(files.Files[kRefused], old) << "the unread list is kept, and not replaced later";
    EXPECT_EQ(LoadPingList(files, kPath).Hosts, PingList{Host(6, 1)});
  }
}

TEST_F(PingStateFileTest, SaveReplacesTheBackupAndAnEmptyListRemovesBoth) {
  fakes::FakeFileSystem files;
  const std::string old = Saved({Host(1, 1)});
  files.Files = {{kPath, old}, {kBackup, old}};
  EXPECT_TRUE(Save({Host(2, 2)}, files));
  EXPECT_EQ(files.Changes,
            (std::vector<std::wstring>{L"delete " + kBackup, L"rename " + kPath + L" " + kBackup,
                                       L"write " + kPath, L"delete " + kBackup}));
  EXPECT_FALSE(Save({}, files, PingFileStanding::Emptied));
  files.Files[kBackup] = old;
  EXPECT_FALSE(Save({}, files, PingFileStanding::Emptied));
  EXPECT_TRUE(files.Files.empty());
  EXPECT_EQ(LoadPingList(files, kPath).Outcome, PingLoadOutcome::NoFile);
}

// Cut off after each change a save makes, with whole or torn writes, and starting from a good
// file or from a torn, empty or missing one beside a good backup, the next start finds the old
// or the new list; a file that does not read never costs the backup beside it.
TEST_F(PingStateFileTest, EveryCutOffSaveLeavesTheOldOrTheNewList) {
  const PingList old = {Host(1, 3)};
  const PingList now = {Host(1, 4), Host(2, 1)};
  const std::string good = Saved(old);
  const std::vector<Files> starts = {
      {{kPath, good}},
      {{kPath, good}, {kBackup, Saved({Host(9, 9)})}},
      {{kPath, good.substr(0, 90)}, {kBackup, good}},
      {{kPath, "[{\"Sent\": \"x\"}]"}, {kBackup, good}},
      {{kPath, ""}, {kBackup, good}},
      {{kBackup, good}},
  };
  for (const Files& start : starts) {
    EXPECT_EQ(Load(start).Hosts, old);
    for (const bool tear : {false, true}) {
      for (size_t limit = 0; limit <= 6; ++limit) {
        SCOPED_TRACE(testing::Message() << "start " << start.begin()->second.size() << " tear "
                                        << tear << " limit " << limit);
        fakes::FakeFileSystem cut;
        cut.Files = start;
        cut.ChangeLimit = limit;
        cut.TearWrites = tear;
        const bool written = Save(now, cut);
        EXPECT_EQ(LoadPingList(cut, kPath).Hosts, written ? now : old);
      }
    }
  }
}

}  // namespace
}  // namespace tarvik
