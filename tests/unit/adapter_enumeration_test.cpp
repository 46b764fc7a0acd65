#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_network.h"
#include "monitors/network/adapter_block.h"
#include "monitors/network/adapter_enumeration.h"
#include "monitors/network/adapter_filter.h"
#include "monitors/network/info_line.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr DateValue kNow = 1'700'000'000;

class AdapterEnumeration : public ::testing::Test {
 protected:
  AdapterEnumeration() { LoadTranslations(kEnglish); }
};

std::vector<std::wstring> Tags(const Enumeration& result) {
  std::vector<std::wstring> tags;
  for (const AdapterRecord& adapter : result.Adapters)
    tags.push_back(adapter.Tag + L"@" + std::to_wstring(adapter.PanelItem));
  return tags;
}

TEST_F(AdapterEnumeration, AdaptersThatMovedBytesAreNumberedAndTakeItems) {
  struct Case {
    const char* name;
    std::vector<int64_t> octets;
    std::vector<std::wstring> tags;
  };
  const Case cases[] = {
      {"wired and idle wireless", {500, 0}, {L"N1@49", L"NX@0"}},
      {"idle first", {0, 1, 9}, {L"NX@0", L"N1@49", L"N2@50"}},
  };
  for (const Case& c : cases) {
    fakes::FakeNetwork network;
    for (size_t i = 0; i < c.octets.size(); ++i)
      network.AddAdapter(L"Adapter " + std::to_wstring(i), static_cast<uint32_t>(10 + i * 7),
                         c.octets[i], L"10.0.0." + std::to_wstring(i + 1));
    AdapterEnumerator enumerator(network);
    EXPECT_EQ(Tags(enumerator.Enumerate(kNow)), c.tags) << c.name;
  }
}

// Sixteen and more monitored adapters keep distinct tags, and the table holds 31 adapters.
TEST_F(AdapterEnumeration, ManyAdaptersKeepDistinctTagsUpToTheTableSize) {
  fakes::FakeNetwork network;
  for (int i = 0; i < 33; ++i)
    network.AddAdapter(L"Adapter " + std::to_wstring(i), static_cast<uint32_t>(100 + i), 1,
                       L"10.0.1." + std::to_wstring(i + 1));
  AdapterEnumerator enumerator(network);
  const Enumeration result = enumerator.Enumerate(kNow);
  ASSERT_EQ(result.Adapters.size(), 31u);
  EXPECT_EQ(result.Adapters[14].Tag, L"NF");
  EXPECT_EQ(result.Adapters[15].Tag, L"N10");
  EXPECT_EQ(result.Adapters[30].Tag, L"N1F");
  EXPECT_EQ(result.Adapters[30].PanelItem, 79);
}

// Windows numbers interfaces sparsely: the rows are found by the indexes that exist, by
// description, each row for one adapter only.
TEST_F(AdapterEnumeration, InterfaceRowsAreFoundByTheIndexesThatExist) {
  struct Case {
    const char* name;
    uint32_t ownIndex;
    std::wstring rowDescription;
    uint32_t matchedIndex;
  };
  const Case cases[] = {
      {"own index", 23, L"Intel Ethernet", 23},
      {"own index unknown, found in the table", 0, L"Intel Ethernet", 23},
      {"description differs", 23, L"Other card", 0},
  };
  for (const Case& c : cases) {
    fakes::FakeNetwork network;
    network.List->push_back({.Description = L"Intel Ethernet", .Index = c.ownIndex});
    network.Rows[1] = {.Description = L"Software Loopback Interface 1", .InOctets = 5};
    network.Rows[23] = {.Description = c.rowDescription, .InOctets = 5, .OutOctets = 7};
    AdapterEnumerator enumerator(network);
    const AdapterRecord adapter = enumerator.Enumerate(kNow).Adapters.at(0);
    EXPECT_EQ(adapter.IfIndex, c.matchedIndex) << c.name;
    EXPECT_EQ(adapter.Monitored, c.matchedIndex != 0) << c.name;
    EXPECT_EQ(adapter.BytesSent, c.matchedIndex != 0 ? 7 : 0) << c.name;
  }
  fakes::FakeNetwork twins;
  twins.List->push_back({.Description = L"Twin", .Index = 4});
  twins.List->push_back({.Description = L"Twin", .Index = 4});
  twins.Rows[4] = {.Description = L"Twin", .InOctets = 1};
  twins.Rows[9] = {.Description = L"Twin", .InOctets = 1};
  AdapterEnumerator enumerator(twins);
  const Enumeration result = enumerator.Enumerate(kNow);
  EXPECT_EQ(result.Adapters[0].IfIndex, 4u);
  EXPECT_EQ(result.Adapters[1].IfIndex, 9u);
}

TEST_F(AdapterEnumeration, AddressAndConnectionChangesBecomeEventsAndAskForALookup) {
  fakes::FakeNetwork network;
  network.AddAdapter(L"Wired", 5, 100, L"192.168.1.10");
  AdapterEnumerator enumerator(network);
  struct Step {
    const char* name;
    std::wstring address;
    int64_t octets;
    std::vector<std::wstring> events;
    bool lookup;
  };
  const Step steps[] = {
      {"first", L"192.168.1.10", 100, {L"N1 IPv4: 192.168.1.10", L"Active Connections: 1"}, true},
      {"unchanged", L"192.168.1.10", 200, {}, false},
      {"address cleared", L"0.0.0.0", 200, {L"N1 IPv4: 0.0.0.0"}, false},
      {"new address", L"192.168.1.11", 200, {L"N1 IPv4: 192.168.1.11"}, true},
      {"reset counters", L"192.168.1.11", 0, {L"Active Connections: 0"}, true},
  };
  for (const Step& step : steps) {
    (*network.List)[0].IpAddress = step.address;
    network.Rows[5].InOctets = network.Rows[5].OutOctets = step.octets;
    const Enumeration result = enumerator.Enumerate(kNow);
    EXPECT_EQ(result.Events, step.events) << step.name;
    EXPECT_EQ(enumerator.TakeLookupRequest(), step.lookup) << step.name;
  }
}

TEST_F(AdapterEnumeration, AListThatCannotBeReadLeavesNoAdapters) {
  fakes::FakeNetwork missing;
  missing.Present = false;
  AdapterEnumerator withoutLibrary(missing);
  // The list is built anew each time: the notice stays in it.
  for (int enumeration = 0; enumeration < 2; ++enumeration)
    EXPECT_EQ(withoutLibrary.Enumerate(kNow).InfoLines,
              std::vector<std::wstring>{L"Unable to load iphlpapi.dll"});

  fakes::FakeNetwork failing;
  failing.AddAdapter(L"Wired", 5, 100);
  AdapterEnumerator enumerator(failing);
  EXPECT_EQ(enumerator.Enumerate(kNow).ActiveConnections, 1);
  failing.List.reset();
  const Enumeration result = enumerator.Enumerate(kNow);
  EXPECT_TRUE(result.Adapters.empty());
  EXPECT_EQ(result.ActiveConnections, 0);
}

// Only two adapters answering to one address are a conflict; extra bytes in the list are not.
TEST_F(AdapterEnumeration, TheConflictWarningNeedsTwoAdaptersWithOneAddress) {
  struct Case {
    std::wstring first, second;
    bool warned;
  };
  const Case cases[] = {{L"10.0.0.1", L"10.0.0.2", false},
                        {L"10.0.0.1", L"10.0.0.1", true},
                        {L"0.0.0.0", L"0.0.0.0", false},
                        {L"", L"", false}};
  for (const Case& c : cases) {
    fakes::FakeNetwork network;
    network.AddAdapter(L"A", 3, 1, c.first);
    network.AddAdapter(L"B", 8, 1, c.second);
    AdapterEnumerator enumerator(network);
    const Enumeration result = enumerator.Enumerate(kNow);
    ASSERT_EQ(result.Adapters.size(), 2u);
    const bool warned = result.InfoLines.at(1) == L"EXCESS DATA DETECTED. IP CONFLICT? ?";
    EXPECT_EQ(warned, c.warned) << c.first << L" " << c.second;
  }
  EXPECT_EQ(ConflictWarningLines().front().size(), 36u);
}

TEST_F(AdapterEnumeration, LabelLinesLeaveOutValuesThatSayNothing) {
  struct Case {
    std::wstring value;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {L"", {}},
      {L"0.0.0.0", {}},
      {L"1970-01-01 00:01:00", {}},
      {L"blank", {L"City"}},
      {L"Bern", {L"City              Bern"}},
      {L"-3600", {L"City             -3600"}},
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> lines;
    AddInfoLine(lines, L"City", c.value);
    EXPECT_EQ(lines, c.lines) << c.value;
  }
}

TEST_F(AdapterEnumeration, TheBlockShowsHeadingLeaseAndErrors) {
  AdapterRecord adapter{.Info = {.Description = L"Wired",
                                 .IpAddress = L"10.1.2.3",
                                 .DhcpEnabled = true,
                                 .LeaseObtained = DateFromParts({2024, 3, 9, 10, 5, 30})},
                        .Matched = true,
                        .IfIndex = 7,
                        .Tag = L"N1",
                        .ErrorsRecv = 4};
  const std::vector<std::wstring> lines = AdapterBlockLines(adapter, kNow);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], L"");
  EXPECT_EQ(lines[1].substr(0, 10), L"-- N1:007 ");
  EXPECT_EQ(lines[2].size(), 45u);
  const auto has = [&](const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has(L"DHCP Lease        2024-03-09 10:05:30"));
  EXPECT_TRUE(has(L"Errors Recv       4"));
  EXPECT_FALSE(has(L"Errors Sent       0"));
  EXPECT_TRUE(has(L"Interface    #0   Type 0"));
}

// The filter lists the adapters with an item and finds the filtered one by its physical
// address; an address no adapter has leaves the filter off.
TEST_F(AdapterEnumeration, TheFilterFindsItsAdapterByPhysicalAddress) {
  AdapterTable adapters(3);
  const std::wstring macs[] = {L"00:00:00:00:00:0A", L"00:00:00:00:00:0B", L"00:00:00:00:00:0C"};
  for (size_t i = 0; i < 3; ++i) {
    adapters[i].PhysicalAddress = macs[i];
    adapters[i].IfIndex = static_cast<uint32_t>(5 + i);
    adapters[i].Tag = i == 1 ? L"NX" : L"N" + std::to_wstring(i / 2 + 1);
    adapters[i].PanelItem = i == 1 ? 0 : kFirstAdapterItem + static_cast<int>(i / 2);
    adapters[i].Info.Description = L"Card";
  }
  struct Case {
    std::wstring stored;
    int selected;
  };
  for (const Case& c : {Case{L"", 0}, Case{macs[0], 1}, Case{macs[2], 2}, Case{macs[1], 0},
                        Case{L"00:00:00:00:00:0D", 0}}) {
    const AdapterFilter filter = BuildAdapterFilter(adapters, c.stored);
    EXPECT_EQ(filter.Selected, c.selected) << c.stored;
  }
  const AdapterFilter filter = BuildAdapterFilter(adapters, L"");
  EXPECT_EQ(filter.Items, (std::vector<std::wstring>{L"Show ALL Active Networks",
                                                     L"Filter N1:005 (00:00:00:00:00:0A) Card",
                                                     L"Filter N2:007 (00:00:00:00:00:0C) Card"}));
  EXPECT_EQ(filter.InterfaceOfItem, (std::vector<uint32_t>{0, 5, 7}));
}

}  // namespace
}  // namespace tarvik
