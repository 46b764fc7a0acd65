#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fakes/fake_file_system.h"
#include "monitors/ping/ping_state_file.h"
#include "text/translation.h"

namespace tarvik {
namespace {

const std::wstring kPath = L"C:\\Data\\TK-Ping.json";
const std::wstring kBackup = L"C:\\Data\\TK-Ping.bak";
const std::wstring kRefused = L"C:\\Data\\TK-Ping.bad";
using Files = std::map<std::wstring, std::string>;

PSys Host(int32_t seed, size_t samples) {
  PSys host{L"1733700000." + std::to_wstring(seed),
            0,
            seed,
            seed - 1,
            1,
            -1,
            seed + 3,
            std::numeric_limits<int32_t>::max(),
            std::numeric_limits<int32_t>::min(),
            64,
            8,
            -1,
            -seed,
            10000000138 + seed,
            1,
            0xFFFFFF,
            0x123456,
            L"Büro \"Ä\" \\ \t\x1F\U0001F600",
            L"10.0.0." + std::to_wstring(seed),
            {}};
  for (size_t i = 0; i < samples; ++i)
    host.PV.push_back({static_cast<int32_t>(1733700000 + i), static_cast<int32_t>(i % 7) - 4});
  return host;
}

PingLoadResult Load(Files start) {
  fakes::FakeFileSystem files;
  files.Files = std::move(start);
  return LoadPingList(files, kPath);
}

std::string Saved(const PingList& hosts) {
  fakes::FakeFileSystem files;
  EXPECT_TRUE(SavePingList(hosts, files, kPath));
  return files.Files[kPath];
}

class PingStateFileTest : public ::testing::Test {
 protected:
  PingStateFileTest() { LoadTranslations(kEnglish); }
};

TEST_F(PingStateFileTest, EveryMemberComesBackInTheRecordsOrder) {
  const PingList hosts = {Host(7, 3), Host(8, 0), PSys{}};
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
                                       "\"PV\":[{\"T\":3, \"Y\": null}] } ]\n"}});
  ASSERT_EQ(spaced.Outcome, PingLoadOutcome::Loaded);
  PSys expected;
  expected.Sent = 5;
  expected.PV = {{0, 3}};
  EXPECT_EQ(spaced.Hosts, PingList{expected});
  EXPECT_TRUE(Load({{kPath, "[]"}}).Hosts.empty());
  EXPECT_EQ(Load({{kPath, "[]"}}).Outcome, PingLoadOutcome::Loaded);

  for (const size_t samples : {kMaxSamples, kMaxSamples + 1, kMaxSamples + 5}) {
    const PingLoadResult loaded = Load({{kPath, Saved({Host(1, samples)})}});
    ASSERT_EQ(loaded.Hosts.at(0).PV.size(), kMaxSamples);
    EXPECT_EQ(loaded.Hosts[0].PV.front().S, 1733700000 + static_cast<int32_t>(samples - 1000));
  }
  EXPECT_EQ(Load({{kPath, Saved(PingList(kMaxPingHosts))}}).Hosts.size(), 1024u);
}

// A file that is not as written is refused as a whole, changes nothing when read, and is kept
// under TK-Ping.bad by the next save, whether that save has hosts or not.
TEST_F(PingStateFileTest, RefusedFileIsReportedAndKeptAside) {
  const std::string damaged = "Ping list file damaged, kept as TK-Ping.bad";
  const std::string invalid = "Ping list file holds invalid values, kept as TK-Ping.bad";
  const std::string tooMany = "Ping list file holds too many hosts, kept as TK-Ping.bad";
  std::string hosts100000 = "[{}";
  for (int i = 1; i < 100000; ++i)
    hosts100000 += ",{}";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Saved({Host(1, 2)}).substr(0, 150), damaged},
      {"not json", damaged},
      {"[{}] x", damaged},
      {"{\"Sent\": 1}", invalid},
      {"[5]", invalid},
      {"[{\"Sent\": \"5\"}]", invalid},
      {"[{\"Sent\": 2147483648}]", invalid},
      {"[{\"Down\": -2147483649}]", invalid},
      {"[{\"Time\": 1.5}]", invalid},
      {"[{\"Sort\": 9223372036854775808}]", invalid},
      {"[{\"Host\": 5}]", invalid},
      {"[{\"PV\": {\"S\": 1}}]", invalid},
      {"[{\"PV\": [{\"S\": \"1\"}]}]", invalid},
      {"[{\"PV\": [[1]]}]", invalid},
      {"[{\"Actv\": null}]", invalid},
      {Saved(PingList(kMaxPingHosts + 1u)), tooMany},
      {hosts100000 + "]", tooMany},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(text.substr(0, 60));
    fakes::FakeFileSystem files;
    files.Files = {{kPath, text}};
    const PingLoadResult loaded = LoadPingList(files, kPath);
    EXPECT_EQ(loaded.Outcome, PingLoadOutcome::Refused);
    EXPECT_TRUE(loaded.Hosts.empty());
    EXPECT_EQ(std::string(loaded.Reason.begin(), loaded.Reason.end()), reason);
    EXPECT_TRUE(files.Changes.empty());
    const PingLoadResult fromBackup = Load({{kPath, text}, {kBackup, Saved({Host(3, 1)})}});
    EXPECT_EQ(fromBackup.Hosts, PingList{Host(3, 1)});
    EXPECT_EQ(fromBackup.Reason, loaded.Reason);
    for (const bool withHosts : {false, true}) {
      fakes::FakeFileSystem later;
      later.Files = {{kPath, text}, {kRefused, "older"}};
      EXPECT_EQ(SavePingList(withHosts ? PingList{Host(2, 1)} : PingList{}, later, kPath),
                withHosts);
      EXPECT_EQ(later.Files[kRefused], text);
      EXPECT_EQ(later.Files.count(kPath), withHosts ? 1u : 0u);
    }
  }
}

TEST_F(PingStateFileTest, SaveReplacesTheBackupAndAnEmptyListRemovesBoth) {
  fakes::FakeFileSystem files;
  const std::string old = Saved({Host(1, 1)});
  files.Files = {{kPath, old}, {kBackup, old}};
  EXPECT_TRUE(SavePingList({Host(2, 2)}, files, kPath));
  EXPECT_EQ(files.Changes,
            (std::vector<std::wstring>{L"delete " + kBackup, L"rename " + kPath + L" " + kBackup,
                                       L"write " + kPath, L"delete " + kBackup}));
  EXPECT_FALSE(SavePingList({}, files, kPath));
  files.Files[kBackup] = old;
  EXPECT_FALSE(SavePingList({}, files, kPath));
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
        const bool written = SavePingList(now, cut, kPath);
        EXPECT_EQ(LoadPingList(cut, kPath).Hosts, written ? now : old);
      }
    }
  }
}

}  // namespace
}  // namespace tarvik
