#include <gtest/gtest.h>

#include <vector>

#include "fakes/fake_system.h"
#include "ui/gadget_ids.h"
#include "ui/graph_attributes.h"
#include "ui/history_graph.h"

namespace tarvik {
namespace {

std::vector<float> Values(const GraphRecord& record) {
  std::vector<float> values;
  for (const GraphSample& sample : record.Samples)
    values.push_back(sample.Value);
  return values;
}

TEST(GraphRecordTest, EveryAttributeNumberReachesItsOwnField) {
  GraphRecord record = NewGraphRecord(301, 567, 7);
  for (int number = 0; number <= 11; ++number)
    SetGraphAttribute(record, number, 100 + number);
  SetGraphAttribute(record, 12, 999);
  SetGraphAttribute(record, -1, 999);
  EXPECT_EQ(record.Maximum, 100);
  EXPECT_EQ(record.Smoothing, 101);
  EXPECT_EQ(record.Background, 102u);
  EXPECT_EQ(record.OuterGrid, 103u);
  EXPECT_EQ(record.InnerGrid, 104u);
  EXPECT_EQ(record.Line, 105u);
  EXPECT_EQ(record.TimeDivisions, 106);
  EXPECT_EQ(record.ValueDivisions, 107);
  EXPECT_EQ(record.Decimals, 108);
  EXPECT_EQ(record.Font, 109);
  EXPECT_TRUE(record.HideTimeLabels);
  EXPECT_TRUE(record.HideValueLabels);
  EXPECT_EQ(record.Capacity, 567);
  EXPECT_EQ(record.UserValue, 7);
}

TEST(GraphRecordTest, SmoothingAveragesBackToTheFirstGap) {
  struct Case {
    const char* Name;
    int Smoothing;
    std::vector<float> Earlier;
    float Value;
    float Expected;
  };
  const Case cases[] = {
      {"off", 0, {10, 20}, 40, 40},
      {"two earlier samples", 2, {10, 20, 30}, 60, (60 + 30 + 20) / 3.0f},
      {"fewer samples than asked", 5, {30}, 60, 45},
      {"a zero sample stops the walk", 3, {50, 0, 10}, 30, 20},
      {"a zero value stays zero", 3, {50}, 0, 0},
      {"a negative value stays as it is", 3, {50}, -10, -10},
  };
  for (const Case& entry : cases) {
    GraphRecord record = NewGraphRecord(301, 100, 0);
    for (float earlier : entry.Earlier)
      AddGraphSamples(record, earlier, 1, 1);
    SetGraphAttribute(record, graph_attr::Smoothing, entry.Smoothing);
    AddGraphSamples(record, entry.Value, 1, 2);
    EXPECT_FLOAT_EQ(record.Samples.back().Value, entry.Expected) << entry.Name;
  }
}

TEST(GraphRecordTest, SamplesNeverOutnumberThePixelColumns) {
  GraphRecord record = NewGraphRecord(301, 3, 0);
  for (int value = 1; value <= 5; ++value)
    AddGraphSamples(record, static_cast<float>(value), 1, value);
  EXPECT_EQ(Values(record), (std::vector<float>{3, 4, 5}));
  EXPECT_EQ(record.Samples.front().Date, 3);
  AddGraphSamples(record, 8, 2, 9);
  EXPECT_EQ(Values(record), (std::vector<float>{5, 8, 8}));
  AddGraphSamples(record, 9, 1000, 10);
  EXPECT_EQ(Values(record), (std::vector<float>{9, 9, 9}));
  AddGraphSamples(record, 7, 0, 11);
  EXPECT_EQ(record.Samples.size(), 3u);

  GraphRecord empty = NewGraphRecord(301, 0, 0);
  AddGraphSamples(empty, 5, 3, 1);
  EXPECT_TRUE(empty.Samples.empty());
}

TEST(RateScaleTest, RisesAtOnceToTheNextMultipleOf128) {
  struct Case {
    int64_t BytesPerSecond;
    int Expected;
  };
  const Case cases[] = {
      {0, 128},
      {128 * 1024, 128},      // equal to the maximum: no rise
      {128 * 1024 + 1, 256},  // a byte more
      {200 * 1024, 256},
      {1000 * 1024, 1024},
      {int64_t{1} << 62, 2147483520},  // the largest multiple an int holds
  };
  for (const Case& entry : cases) {
    RateScale scale;
    EXPECT_EQ(RescaleRate(scale, entry.BytesPerSecond, 1.0), entry.Expected)
        << entry.BytesPerSecond;
  }
}

TEST(RateScaleTest, FallsOnlyAfterAQuietSpellScaledByDpi) {
  struct Case {
    double Dpi;
    int PassesToFirstFall;
    int PassesToNextFall;
  };
  for (const Case entry : {Case{1.0, 121, 91}, Case{1.5, 181, 136}}) {
    RateScale scale;
    ASSERT_EQ(RescaleRate(scale, 1000 * 1024, entry.Dpi), 1024);
    for (int pass = 1; pass < entry.PassesToFirstFall; ++pass)
      ASSERT_EQ(RescaleRate(scale, 300 * 1024, entry.Dpi), 1024) << entry.Dpi << " " << pass;
    EXPECT_EQ(RescaleRate(scale, 300 * 1024, entry.Dpi), 384) << entry.Dpi;
    // After a fall the peak restarts at 127, so the next one lands on 128 at the lowest.
    for (int pass = 1; pass < entry.PassesToNextFall; ++pass)
      ASSERT_EQ(RescaleRate(scale, 10 * 1024, entry.Dpi), 384) << entry.Dpi << " " << pass;
    EXPECT_EQ(RescaleRate(scale, 10 * 1024, entry.Dpi), 128) << entry.Dpi;
  }
}

TEST(GraphStoreTest, SamplesAreDatedAndRateMaximaReachTheirGraph) {
  fakes::FakeClock clock;
  GraphStore store(clock);
  store.Create(gadget::DriveWriteGraph, 4);
  store.Create(gadget::DriveReadGraph, 4);
  store.AddSample(gadget::DriveWriteGraph, 3.5f, 2);
  store.AddSample(999, 1.0f);  // no such graph: ignored
  EXPECT_FALSE(store.SetAttribute(999, graph_attr::Maximum, 5));
  EXPECT_FALSE(store.Snapshot(999).has_value());

  const std::vector<GraphSample> samples = store.Samples(gadget::DriveWriteGraph);
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[1].Date, clock.Now);
  EXPECT_FLOAT_EQ(samples[1].Value, 3.5f);

  store.RescaleRateGraph(gadget::DriveWriteGraph, 500 * 1024, 1.0);
  store.RescaleRateGraph(gadget::PhysicalGraph, 500 * 1024, 1.0);  // not a rate graph
  EXPECT_EQ(store.Snapshot(gadget::DriveWriteGraph)->Maximum, 512);
  EXPECT_EQ(store.Snapshot(gadget::DriveReadGraph)->Maximum, 100);
}

}  // namespace
}  // namespace tarvik
