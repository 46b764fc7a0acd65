#include "monitors/system/system_sampler.h"

#include "monitors/system/processor_texts.h"
#include "monitors/system/title_summary.h"
#include "monitors/system/uptime_text.h"
#include "text/history_rows.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr int kSamplerPriority = 24;
constexpr int kPhysicalGraph = 301;
constexpr int kPageFileGraph = 302;
constexpr int kSpeedGraph = 303;
constexpr int kAverageLoadGraph = 307;
constexpr int kProcessorTitleMode = 3;
constexpr int kBatteryTitleMode = 4;
constexpr int kPhysicalTitleMode = 1;
constexpr int kPageFileTitleMode = 2;
constexpr int kUptimeTitleMode = 5;
constexpr int kIdleTitleMode = 6;
// The first history row sits below the rows of the highest and the lowest reading.
constexpr int kHighRow = 0;
constexpr int kLowRow = 1;
constexpr int kFirstHistoryRow = 2;

}  // namespace

SystemSampler::SystemSampler(StopSignal& stop, SamplerSources sources, SamplerTargets targets)
    : MonitorThread(L"system sampler", kSamplerPriority, stop, sources.Clock, sources.Env),
      sources_(sources),
      targets_(std::move(targets)),
      memory_{MemoryMeter{kPhysMeter,
                          L"Phys",
                          kPhysicalTitleMode,
                          targets_.PhysicalHistory,
                          kPhysicalGraph,
                          -1,
                          0,
                          {}},
              MemoryMeter{kPageMeter,
                          L"Page",
                          kPageFileTitleMode,
                          targets_.PageFileHistory,
                          kPageFileGraph,
                          -1,
                          0,
                          {}}} {}

int SystemSampler::Pass(int64_t tickMs) {
  const int64_t now = sources_.Clock.NowLocal();
  const bool newSecond = now != lastSecond_;
  lastSecond_ = now;
  if (newSecond || targets_.Options.IsOn(opt::RealTimeMemory))
    SampleMemory(now);
  if (tickMs >= nextGraphMs_) {
    nextGraphMs_ = tickMs + kGraphPeriodMs;
    SampleProcessors(now);
    AddMemorySamples();
    SampleBattery();
  }
  if (newSecond) {
    ShowUptime(tickMs);
    ShowIdle(tickMs);
    ShowBatteryUptimeIdleRow();
  }
  return kPassMs;
}

void SystemSampler::SampleMemory(int64_t now) {
  const std::optional<platform::MemoryStatus> status = sources_.Memory.Status();
  if (!status)
    return;
  ShowMemory(memory_[0],
             ReadMemory(static_cast<int64_t>(status->AvailablePhysical),
                        static_cast<int64_t>(status->TotalPhysical)),
             now);
  ShowMemory(memory_[1],
             ReadMemory(static_cast<int64_t>(status->AvailablePageFile),
                        static_cast<int64_t>(status->TotalPageFile)),
             now);
}

void SystemSampler::ShowMemory(MemoryMeter& meter, const MemoryReading& reading, int64_t now) {
  meter.PercentAvailable = reading.PercentAvailable;
  if (reading.AvailableMiB == meter.LastShownMiB)
    return;
  meter.LastShownMiB = reading.AvailableMiB;
  if (SetMeterText(meter.Meter, reading.Text)) {
    targets_.MeterChanged(meter.Meter, true);
    SetTitleSummary(meter.TitleMode, MemoryTitle(reading.Text, meter.Key));
  }
  const MemoryExtremeRows extremes = NoteMemoryExtremes(meter.Extremes, reading, now);
  const int limit = targets_.Options.Get(opt::HistoryRowLimit);
  meter.History.Change([&](std::vector<std::wstring>& rows) {
    if (rows.size() < kFirstHistoryRow)
      rows.resize(kFirstHistoryRow);
    if (extremes.HighRow)
      rows[kHighRow] = *extremes.HighRow;
    if (extremes.LowRow)
      rows[kLowRow] = *extremes.LowRow;
    // The extremes' rows are kept apart from the limit the history rows share.
    AddHistoryRow(rows, limit + kFirstHistoryRow, kFirstHistoryRow, MemoryHistoryText(reading),
                  now);
  });
}

void SystemSampler::AddMemorySamples() {
  for (const MemoryMeter& meter : memory_) {
    if (meter.LastShownMiB >= 0)
      targets_.AddGraphSample(meter.Graph, static_cast<float>(meter.PercentAvailable));
  }
}

void SystemSampler::SampleProcessors(int64_t now) {
  const std::optional<std::vector<ProcessorTimes>> times = sources_.Processors.Times();
  const int count = times ? static_cast<int>(times->size()) : 1;
  if (times && lastTimes_) {
    if (const std::optional<ProcessorLoads> loads = LoadsBetween(*lastTimes_, *times)) {
      averageLoad_ = static_cast<int>(loads->Average);
      const int firstGraph = targets_.Options.Get(opt::FirstProcessorGraph);
      for (size_t processor = 0; processor < loads->Percent.size(); ++processor) {
        targets_.AddGraphSample(firstGraph + static_cast<int>(processor),
                                static_cast<float>(loads->Percent[processor]));
      }
    }
  }
  if (times)
    lastTimes_ = times;
  ReadProcessorPower(count);
  if (meanMhz_ != shownMhz_ || averageLoad_ != shownLoad_) {
    shownMhz_ = meanMhz_;
    shownLoad_ = averageLoad_;
    const ProcessorTexts texts = MakeProcessorTexts({meanMhz_, averageLoad_, idleState_, 0, count});
    if (SetMeterText(kCpuMeter, texts.MeterText))
      targets_.MeterChanged(kCpuMeter, false);
    const int limit = targets_.Options.Get(opt::HistoryRowLimit);
    targets_.ProcessorHistory.Change([&](std::vector<std::wstring>& rows) {
      AddHistoryRow(rows, limit, 0, texts.HistoryText, now);
    });
    SetTitleSummary(kProcessorTitleMode, ProcessorTitle(texts.MeterText));
  }
  if (highestMhz_ > 0)
    targets_.AddGraphSample(kSpeedGraph, static_cast<float>(meanMhz_ * 100 / highestMhz_));
  targets_.AddGraphSample(kAverageLoadGraph, static_cast<float>(std::max(averageLoad_, 0)));
}

void SystemSampler::ReadProcessorPower(int count) {
  const std::optional<std::vector<platform::ProcessorPower>> power =
      sources_.Processors.Power(count);
  if (!power || power->empty())
    return;
  int64_t mhz = 0;
  int64_t idle = 0;
  for (const platform::ProcessorPower& processor : *power) {
    mhz += processor.CurrentMhz;
    idle += processor.CurrentIdleState;
    highestMhz_ = std::max<int64_t>(highestMhz_, processor.MaxMhz);
  }
  const auto processors = static_cast<int64_t>(power->size());
  meanMhz_ = mhz / processors;
  idleState_ = static_cast<int>((idle + processors / 2) / processors);
}

// The battery cell follows every change of the power status; a low battery that is not charging
// blinks, its colours swapping on every pass of the 2.5 s timer.
void SystemSampler::SampleBattery() {
  const std::optional<platform::PowerStatus> status = sources_.Power.Status();
  if (!status)
    return;
  const BatteryReading reading{BatteryPercentFromByte(status->BatteryLifePercent),
                               static_cast<int8_t>(status->AcLine),
                               (status->BatteryFlags & 8) != 0};
  const bool changed = !battery_ || battery_->Percent != reading.Percent ||
                       battery_->AcStatus != reading.AcStatus ||
                       battery_->Charging != reading.Charging;
  battery_ = reading;
  if (changed) {
    batteryTexts_ = MakeBatteryTexts(reading);
    SetMeterText(kBatteryMeter, batteryTexts_.Text);
    SetTitleSummary(kBatteryTitleMode, BatteryTitle(batteryTexts_.Text, reading.Percent));
  }
  const bool blinking = BatteryBlinks(reading);
  batteryInverted_ = blinking && !batteryInverted_;
  const MeterColours colours = BatteryMeterColours(batteryInverted_);
  {
    auto meters = targets_.Meters.Lock();
    MeterRecord& cell = (*meters)[kBatteryMeter];
    cell.BackColour = colours.Back;
    cell.TextColour = colours.Text;
  }
  if (changed || blinking)
    targets_.MeterChanged(kBatteryMeter, blinking);
}

// The machine's uptime is the millisecond clock's own count, which starts with the system.
void SystemSampler::ShowUptime(int64_t tickMs) {
  const UptimeTexts texts = MakeUptimeTexts(tickMs / 1000, false);
  uptimeListText_ = texts.ListText;
  if (SetMeterText(kUptimeMeter, texts.MeterText)) {
    targets_.MeterChanged(kUptimeMeter, true);
    SetTitleSummary(kUptimeTitleMode, UptimeTitle(texts.MeterText));
  }
}

// Idle time counts from the last change of the last-input tick, on the program's own clock.
void SystemSampler::ShowIdle(int64_t tickMs) {
  const uint32_t inputTick = sources_.Activity.LastInputTick();
  if (!idleStarted_ || inputTick != lastInputTick_) {
    idleStarted_ = true;
    lastInputTick_ = inputTick;
    idleSinceMs_ = tickMs;
  }
  const IdleUpdate update =
      TrackIdle(idle_, (tickMs - idleSinceMs_) / 1000, targets_.Options.Get(opt::LongIdleSeconds));
  if (update.RecentText)
    recentIdleText_ = *update.RecentText;
  if (!update.Changed)
    return;
  SetMeterText(kIdleMeter, update.MeterText);
  if (update.Redraw || update.ForceRedraw)
    targets_.MeterChanged(kIdleMeter, update.ForceRedraw);
  SetTitleSummary(kIdleTitleMode, IdleTitle(update.MeterText));
}

void SystemSampler::ShowBatteryUptimeIdleRow() {
  const std::wstring idleText = (*targets_.Meters.Lock())[kIdleMeter].Text;
  const std::wstring row = BatteryUptimeIdleRow(batteryTexts_.Text, batteryTexts_.Status,
                                                uptimeListText_, idleText, recentIdleText_);
  targets_.BatteryUptimeIdle.Change([&](std::vector<std::wstring>& rows) {
    if (rows.empty())
      rows.emplace_back();
    rows[0] = row;
  });
}

bool SystemSampler::SetMeterText(int meter, const std::wstring& text) {
  auto meters = targets_.Meters.Lock();
  std::wstring& shown = (*meters)[static_cast<size_t>(meter)].Text;
  if (shown == text)
    return false;
  shown = text;
  return true;
}

void SystemSampler::SetTitleSummary(int mode, const std::wstring& summary) {
  if (targets_.Options.Get(opt::TitleBarMode) != mode || summary == titleSummary_)
    return;
  titleSummary_ = summary;
  targets_.TitleSummaryChanged(summary);
}

}  // namespace tarvik
