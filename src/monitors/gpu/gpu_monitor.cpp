#include "monitors/gpu/gpu_monitor.h"

#include <algorithm>

#include "monitors/gpu/gpu_card_status.h"
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
  GpuCards cards = EnumerateGpus(sources_.Nvml);
  for (GpuDevice& device : cards.Devices) {
    if (device.HandleStatus == platform::nvml::kSuccess)
      device.Sample.Clocks = device.FirstClocks;
    device.TracksMaximum = LacksMaximumClocks(device.Facts);
  }
  devices_ = cards.Devices;
  enumerated_ = true;
  targets_.Options.Set(opt::GpuCount, static_cast<int32_t>(cards.Count()));
  {
    auto readings = targets_.Readings.Lock();
    readings->System = sources_.System;
    readings->Cards = std::move(cards);
    readings->History.assign(devices_.size(), {});
    readings->Enumerated = true;
  }
  ShowCards();
  ReportCardsOutOfReach();
  targets_.DevicesChanged();
}

// One event for each card that went out of reach, and none again while it stays so; its summary
// line shows the loss too, whichever card is chosen (the chosen card's comes with its sample).
void GpuMonitor::ReportCardsOutOfReach() {
  for (size_t i = 0; i < kMaxGpus; ++i) {
    const platform::nvml::Return status =
        i < devices_.size() ? devices_[i].CardStatus : platform::nvml::kSuccess;
    if (status != reportedStatus_[i] && status != platform::nvml::kSuccess) {
      const int index = static_cast<int>(i);
      const std::wstring& name = devices_[i].Facts.Name.Value;
      targets_.RecordSystemEvent(GpuShortLabel(index) + (name.empty() ? L"" : L" " + name) + L": " +
                                 CardStatusText(status));
      if (index != SelectedCard())
        targets_.AddSummaryLine(GpuSummary(index, devices_[i]));
    }
    reportedStatus_[i] = status;
  }
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
  bool cardLost = false;
  for (size_t i = 0; i < devices_.size(); ++i) {
    GpuDevice& device = devices_[i];
    const int index = static_cast<int>(i);
    const bool reachable = device.CardStatus == platform::nvml::kSuccess;
    SampleGpu(sources_.Nvml, device);
    ShowCard(index, device);
    if (index == SelectedCard())
      ShowSummary(index, device);
    cardLost = cardLost || (reachable && device.CardStatus != platform::nvml::kSuccess);
    if (samples_ % 2 == 0)
      AddGraphSamples(index, device);
  }
  {
    auto readings = targets_.Readings.Lock();
    GpuDevices& shown = readings->Cards.Devices;
    for (size_t i = 0; i < devices_.size() && i < shown.size(); ++i) {
      shown[i].Sample = devices_[i].Sample;
      shown[i].Facts.MaxClocks = devices_[i].Facts.MaxClocks;
      shown[i].RowColour = devices_[i].RowColour;
      shown[i].CardStatus = devices_[i].CardStatus;
    }
  }
  if (cardLost) {
    ReportCardsOutOfReach();
    targets_.DevicesChanged();
  }
  if (samples_ % 2 == 0 && !devices_.empty())
    targets_.GraphsSampled();
}

void GpuMonitor::ShowCard(int index, const GpuDevice& device) {
  const int meterIndex = kFirstGpuMeter + index;
  {
    auto meters = targets_.Meters.Lock();
    MeterRecord& meter = (*meters)[static_cast<size_t>(meterIndex)];
    meter.Text = GpuRowText(index, device, targets_.Options.IsOn(opt::GpuShowErrors));
    meter.BackColour = device.RowColour;
  }
  targets_.MeterChanged(meterIndex, false);
}

void GpuMonitor::ShowSummary(int index, const GpuDevice& device) {
  std::wstring summary = GpuSummary(index, device);
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
      // A temperature that could not be read is no temperature at all.
      const NvmlReading<int>& temperature = device.Sample.Temperature;
      history.push_back({device.RowColour, sources_.Clock.NowLocal(),
                         temperature.Status == platform::nvml::kSuccess ? temperature.Value : 0});
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
