#include "monitors/gpu/gpu_monitor.h"

#include <algorithm>

#include "monitors/gpu/gpu_enumeration.h"
#include "monitors/gpu/gpu_graph_values.h"
#include "monitors/gpu/gpu_rows.h"
#include "monitors/gpu/gpu_sampling.h"

namespace tarvik {
namespace {

constexpr int kGpuPriority = 16;

// A card whose maximum clocks are unknown learns them from the clocks it runs at.
bool LacksMaximumClocks(const GpuFacts& facts) {
  return facts.MaxClocks[kGraphicsClock].Value == 0 || facts.MaxClocks[kMemoryClock].Value == 0;
}

}  // namespace

GpuMonitor::GpuMonitor(StopSignal& stop, GpuSources sources, GpuTargets targets)
    : MonitorThread(kName, kGpuPriority, stop, sources.Clock, sources.Env),
      sources_(std::move(sources)),
      targets_(std::move(targets)) {}

void GpuMonitor::Run() {
  MonitorThread::Run();
  if (sources_.Nvml.nvmlShutdown)
    static_cast<void>(sources_.Nvml.nvmlShutdown());
}

int GpuMonitor::Pass(int64_t /*tickMs*/) {
  Settings& options = targets_.Options;
  if (!enumerated_ || options.Take(opt::GpuRefreshRequest) != 0)
    Enumerate();
  const int64_t second = sources_.Clock.NowLocal();
  if (second != lastSecond_) {
    lastSecond_ = second;
    SampleCards();
  }
  if (options.Get(opt::CopyRequest) == kGraphicsTabCopy)
    targets_.CopyPanel(kGraphicsTabCopy);
  return kPassMs;
}

// The cards are read on this thread, not while the program starts: a driver that does not
// answer then holds up the GPU monitor only.
void GpuMonitor::Enumerate() {
  devices_ = EnumerateGpus(sources_.Nvml);
  for (GpuDevice& device : devices_) {
    device.Sample.Clocks = device.FirstClocks;
    device.TracksMaximum = LacksMaximumClocks(device.Facts);
  }
  enumerated_ = true;
  targets_.Options.Set(opt::GpuCount, static_cast<int32_t>(devices_.size()));
  {
    auto readings = targets_.Readings.Lock();
    readings->System = sources_.System;
    readings->Devices = devices_;
    readings->History.assign(devices_.size(), {});
    readings->Enumerated = true;
  }
  ShowCards();
  targets_.DevicesChanged();
}

// A cell for each card, none for the cards that are gone.
void GpuMonitor::ShowCards() {
  {
    auto meters = targets_.Meters.Lock();
    for (size_t i = 0; i < kMaxGpus; ++i) {
      MeterRecord& meter = (*meters)[kFirstGpuMeter + i];
      meter.Active = i < devices_.size();
      meter.Key = GpuShortLabel(static_cast<int>(i));
      meter.Text.clear();
    }
  }
  targets_.RefreshLayout();
}

void GpuMonitor::SampleCards() {
  ++samples_;
  for (size_t i = 0; i < devices_.size(); ++i) {
    GpuDevice& device = devices_[i];
    const int index = static_cast<int>(i);
    SampleGpu(sources_.Nvml, device);
    ShowCard(index, device);
    if (index == SelectedCard())
      ShowSummary(index, device);
    if (samples_ % 2 == 0)
      AddGraphSamples(index, device);
  }
  {
    auto readings = targets_.Readings.Lock();
    for (size_t i = 0; i < devices_.size() && i < readings->Devices.size(); ++i) {
      readings->Devices[i].Sample = devices_[i].Sample;
      readings->Devices[i].Facts.MaxClocks = devices_[i].Facts.MaxClocks;
      readings->Devices[i].RowColour = devices_[i].RowColour;
    }
  }
  if (samples_ % 2 == 0 && !devices_.empty())
    targets_.GraphsSampled();
}

void GpuMonitor::ShowCard(int index, const GpuDevice& device) {
  const int meterIndex = kFirstGpuMeter + index;
  {
    auto meters = targets_.Meters.Lock();
    MeterRecord& meter = (*meters)[static_cast<size_t>(meterIndex)];
    meter.Text = GpuRowText(index, device.Sample, targets_.Options.IsOn(opt::GpuShowErrors));
    meter.BackColour = device.RowColour;
  }
  targets_.MeterChanged(meterIndex, false);
}

void GpuMonitor::ShowSummary(int index, const GpuDevice& device) {
  std::wstring summary = GpuSummary(index, device.Sample);
  if (summary == lastSummary_)
    return;
  lastSummary_ = std::move(summary);
  targets_.AddSummaryLine(lastSummary_);
}

void GpuMonitor::AddGraphSamples(int index, GpuDevice& device) {
  {
    auto readings = targets_.Readings.Lock();
    if (static_cast<size_t>(index) < readings->History.size()) {
      auto& history = readings->History[static_cast<size_t>(index)];
      history.push_back(
          {device.RowColour, sources_.Clock.NowLocal(), device.Sample.Temperature.Value});
      while (history.size() > kHistoryLength)
        history.pop_front();
    }
  }
  RaiseMaximumClocks(device);
  const int firstGraph = targets_.Options.Get(opt::FirstGpuGraph) + kGraphsPerCard * index;
  const std::array<int, 6> values = GpuGraphValues(device);
  for (size_t graph = 0; graph < values.size(); ++graph)
    targets_.AddGraphSample(firstGraph + static_cast<int>(graph),
                            static_cast<float>(values[graph]));
}

// The card chosen on the Graphics tab; the first while none is chosen.
int GpuMonitor::SelectedCard() const {
  return std::max(targets_.Options.Get(opt::SelectedGpu), 0);
}

}  // namespace tarvik
