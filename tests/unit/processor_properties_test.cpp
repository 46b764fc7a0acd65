#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fixed_lists.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "fakes/fake_system_info.h"
#include "sysinfo/processor_properties.h"

namespace tarvik {
namespace {

using platform::WmiValue;

std::vector<std::wstring> ProcessorSlots(const TextSlots& texts) {
  std::vector<std::wstring> values;
  for (int i = 0; i < kQueriedProcessorProperties; ++i)
    values.push_back(texts.Get(slot::ProcessorPropertyFirst + i));
  return values;
}

// The slots as start-up leaves them: the property names in place.
class ProcessorPropertiesTest : public testing::Test {
 protected:
  void SetUp() override {
    PlaceFixedLists(texts_);
    names_ = ProcessorSlots(texts_);
  }
  void Read() { ReadProcessorProperties(wmi_, settings_, texts_); }

  Settings settings_;
  TextSlots texts_;
  fakes::FakeWmi wmi_;
  std::vector<std::wstring> names_;
};

TEST_F(ProcessorPropertiesTest, ReplacesEachNameByItsValue) {
  wmi_.Processors = {{{L"CurrentClockSpeed", int64_t{3400}},
                      {L"Description", L"Intel64 Family 6 Model 158 Stepping 10"},
                      {L"L3CacheSize", int64_t{12288}},
                      {L"Manufacturer", L"GenuineIntel"},
                      {L"MaxClockSpeed", int64_t{4294967295}},
                      {L"Name", L"  Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz  "},
                      {L"NumberOfCores", int64_t{6}},
                      {L"NumberOfLogicalProcessors", int64_t{12}},
                      {L"ProcessorId", L"BFEBFBFF000906EA"}}};
  Read();
  const std::vector<std::wstring> expected = {
      L"3400",       L"Intel64 Family 6 Model 158 Stepping 10",
      L"",  // L2CacheSize: not reported
      L"12288",      L"GenuineIntel",
      L"4294967295", L"Intel(R) Core(TM) i7 CPU 920 @ 2.67GHz",
      L"6",
      L"",  // NumberOfEnabledCore: older systems lack it
      L"12",         L"BFEBFBFF000906EA"};
  EXPECT_EQ(ProcessorSlots(texts_), expected);
  ASSERT_EQ(wmi_.Asked.size(), 1u);
  EXPECT_EQ(wmi_.Asked[0], names_);
  EXPECT_EQ(texts_.Get(slot::ProcessorPropertyFirst + kQueriedProcessorProperties),
            L"Speed in HZ");  // the computed rows keep their names
}

TEST_F(ProcessorPropertiesTest, TheLastOfSeveralProcessorsIsKept) {
  wmi_.Processors = {{{L"Name", L"Xeon A"}, {L"ProcessorId", L"AAAA"}},
                     {{L"Name", L"Xeon B"}, {L"NumberOfCores", int64_t{8}}}};
  Read();
  const std::vector<std::wstring> values = ProcessorSlots(texts_);
  EXPECT_EQ(values[6], L"Xeon B");
  EXPECT_EQ(values[7], L"8");
  EXPECT_EQ(values[10], L"");  // the first processor's id does not linger
}

TEST_F(ProcessorPropertiesTest, NoAnswerLeavesEverySlotEmpty) {
  for (const bool reachable : {false, true}) {
    PlaceFixedLists(texts_);
    wmi_.Reachable = reachable;  // unreachable, or reachable with no processor at all
    Read();
    EXPECT_EQ(ProcessorSlots(texts_), std::vector<std::wstring>(kQueriedProcessorProperties))
        << "reachable " << reachable;
  }
}

TEST_F(ProcessorPropertiesTest, NothingIsAskedWhileShuttingDown) {
  settings_.Set(opt::StopFlag, 1);
  Read();
  EXPECT_TRUE(wmi_.Asked.empty());
  EXPECT_EQ(ProcessorSlots(texts_), names_);
}

TEST(ProcessorPropertyText, KeepsNumbersAndCleansTexts) {
  EXPECT_EQ(ProcessorPropertyText(WmiValue{int64_t{-1}}), L"-1");
  EXPECT_EQ(ProcessorPropertyText(WmiValue{std::wstring(L"   ")}), L"");
  EXPECT_EQ(ProcessorPropertyText(WmiValue{std::wstring(L"a  b     c")}), L"a b c");
  EXPECT_EQ(ProcessorPropertyText(WmiValue{}), L"");
}

}  // namespace
}  // namespace tarvik
