#include "monitors/system/system_sampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "monitors/system/desktop_events.h"
#include "monitors/system/speed_measurement.h"
#include "monitors/system/title_summary.h"
#include "monitors/system/uptime_text.h"
#include "text/date_format.h"
#include "text/format_size.h"
#include "text/history_rows.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kSamplerPriority = 24;
constexpr int kPhysicalGraph = 301;
constexpr int kPageFileGraph = 302;
constexpr int kSpeedGraph = 303;
constexpr int kDriveReadGraph = 304;
constexpr int kAverageLoadGraph = 307;
constexpr int kDriveWriteGraph = 308;
constexpr int kRateSizeStyle = 7;
constexpr int kProcessorTitleMode = 3;
constexpr int kBatteryTitleMode = 4;
constexpr int kPhysicalTitleMode = 1;
constexpr int kPageFileTitleMode = 2;
constexpr int kUptimeTitleMode = 5;
constexpr int kIdleTitleMode = 6;
constexpr int kDrivesTitleMode = 7;
// The copy requests this thread serves: the System and the Processors tab.
constexpr int kSystemTabCopy = 0;
constexpr int kProcessorsTabCopy = 1;
// The first history row sits below the rows of the highest and the lowest reading.
constexpr int kHighRow = 0;
constexpr int kLowRow = 1;
constexpr int kFirstHistoryRow = 2;

// A load's whole percent, truncated; a wild counter value cannot overflow it.
int WholePercent(double percent) {
  return static_cast<int>(std::clamp(percent, 0.0, double{std::numeric_limits<int>::max()}));
}

void SetFirstRow(ListModel& list, const std::wstring& row) {
  list.Change([&](std::vector<std::wstring>& rows) {
    if (rows.empty())
      rows.emplace_back();
    rows[0] = row;
  });
}

}  // namespace

SystemSampler::SystemSampler(StopSignal& stop, SamplerSources sources, SamplerTargets targets)
    : MonitorThread(L"system sampler", kSamplerPriority, stop, sources.Clock, sources.Env),
      sources_(std::move(sources)),
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
                          {}}},
      counters_(sources_.Counters, sources_.StartTask,
                CounterRebuildFolder(sources_.Env.WindowsFolder())) {}

int SystemSampler::Pass(int64_t tickMs) {
  if (++passes_ == 1)
    StartUp(tickMs);
  counters_.AwaitNames(tickMs, targets_.ShowStatusMessage);
  if (targets_.Options.Take(opt::ResetSystemPanelRequest) != 0) {
    for (MemoryMeter& meter : memory_)
      meter.Extremes = {};
  }
  const int64_t now = sources_.Clock.NowLocal();
  const bool newSecond = now != lastSecond_;
  lastSecond_ = now;
  if (newSecond || targets_.Options.IsOn(opt::RealTimeMemory))
    SampleMemory(now);
  if (tickMs >= nextGraphMs_ && !targets_.Options.IsOn(opt::StopFlag)) {
    nextGraphMs_ = tickMs + kGraphPeriodMs;
    SampleProcessors(now);
  }
  if (newSecond) {
    ShowUptime(tickMs);
    ShowIdle(tickMs);
    ShowBatteryUptimeIdleRow();
    ShowDriveRates();
    KeepOwnProcess();
  }
  if (passes_ % kDesktopWatchPasses == 0)
    WatchDesktop();
  if (targets_.Options.Take(opt::RereadSystemTextRequest) != 0 || systemTextChanged_) {
    systemTextChanged_ = false;
    ShowProcessorDescription();
    targets_.RefreshSystemText();
  }
  const int copy = targets_.Options.Get(opt::CopyRequest);
  if (copy == kSystemTabCopy || copy == kProcessorsTabCopy)
    targets_.CopyPanel(copy);
  return kPassMs;
}

void SystemSampler::StartUp(int64_t tickMs) {
  logicalCount_ = targets_.Options.Get(opt::ProcessorCount);
  if (logicalCount_ < 1)
    logicalCount_ = std::max(sources_.Env.LogicalProcessorCount(), 1);
  for (int processor = 0; processor < logicalCount_; ++processor)
    processorEntries_.push_back({ProcessorLabel(processor, logicalCount_), 0, 0});
  if (const std::optional<int64_t> stored = StoredSpeedMhz(sources_.Processor().MaxSpeed))
    highestMhz_ = *stored;
  else
    highestMhz_ = MeasureSpeedMhz(sources_.Processors, sources_.Wait).value_or(0);
  targets_.BatteryUptimeIdle.Change([](std::vector<std::wstring>& rows) { rows.clear(); });
  ShowProcessorDescription();
  if (!targets_.Options.IsOn(opt::PdhLibraryPresent))
    return;
  counters_.Start(logicalCount_, tickMs, targets_.ShowStatusMessage, [this] {
    SetMeterText(kCpuMeter, L" " + TrFixed(L"Repairing     "));
    targets_.MeterChanged(kCpuMeter, true);
  });
}

void SystemSampler::ShowProcessorDescription() {
  SetFirstRow(targets_.ProcessorInfo,
              ProcessorDescriptionRow(highestMhz_, sources_.Processor(), logicalCount_));
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
  const MemoryTotals totals{static_cast<int64_t>(status->TotalPhysical),
                            static_cast<int64_t>(status->TotalPageFile)};
  for (const std::wstring& event : MemoryTotalEvents(reportedTotals_, totals)) {
    targets_.RecordSystemEvent(event);
    systemTextChanged_ = true;
  }
  auto readings = targets_.Readings.Lock();
  readings->PhysicalPercent = memory_[0].PercentAvailable;
  readings->PageFilePercent = memory_[1].PercentAvailable;
  readings->Memory = MemoryBytes{
      static_cast<int64_t>(status->TotalPhysical), static_cast<int64_t>(status->AvailablePhysical),
      static_cast<int64_t>(status->TotalPageFile), static_cast<int64_t>(status->AvailablePageFile)};
}

void SystemSampler::ShowMemory(MemoryMeter& meter, const MemoryReading& reading, int64_t now) {
  meter.PercentAvailable = reading.PercentAvailable;
  if (reading.AvailableMiB == meter.LastShownMiB)
    return;
  meter.LastShownMiB = reading.AvailableMiB;
  if (SetMeterText(meter.Meter, reading.Text)) {
    targets_.MeterChanged(meter.Meter, true);
    targets_.Titles.Publish(meter.TitleMode, MemoryTitle(reading.Text, meter.Key));
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
    // The extremes' rows count towards the limit, and the limit always leaves them in place.
    AddHistoryRow(rows, std::max(limit, kFirstHistoryRow), kFirstHistoryRow,
                  MemoryHistoryText(reading), now);
  });
}

void SystemSampler::SampleProcessors(int64_t now) {
  ReadSpeed();
  speedSeen_.Note(meanMhz_);
  // The counters' first reading after start-up waits a whole period, so that it spans one.
  std::vector<double> loads;
  if (counters_.On()) {
    if (passes_ > 1)
      loads = ReadCounterLoads(now);
  } else {
    loads = ReadTimeLoads();
  }
  NoteLoads(loads);
  ShowProcessorTexts(now);
  KeepProcessorReadings();
  // The samples come after the readings, so that a graph drawn for them shows their values.
  AddProcessorSamples(loads);
  AddSystemSamples();
  SampleBattery();
}

// The power information gives every processor's speed and idle state; without it the speed is
// measured.
void SystemSampler::ReadSpeed() {
  const std::optional<std::vector<platform::ProcessorPower>> power =
      sources_.Processors.Power(logicalCount_);
  if (power && !power->empty()) {
    const PowerSummary summary = SummarisePower(*power, logicalCount_);
    meanMhz_ = summary.MeanMhz;
    idleState_ = summary.IdleState;
    idleStates_ = summary.IdleStates;
    if (const std::optional<int> throttle = sources_.Processors.ThrottlePolicy())
      pState_ = *throttle;
    KeepProcessorSpeeds(*power);
    return;
  }
  if (const std::optional<int64_t> measured = MeasureSpeedMhz(sources_.Processors, sources_.Wait))
    meanMhz_ = *measured;
  KeepProcessorSpeeds({});
}

// Each processor's own speed where the power information gives one, else the mean.
void SystemSampler::KeepProcessorSpeeds(const std::vector<platform::ProcessorPower>& power) {
  for (size_t processor = 0; processor < processorEntries_.size(); ++processor) {
    processorEntries_[processor].CurrentMhz =
        processor < power.size() ? int64_t{power[processor].CurrentMhz} : meanMhz_;
  }
}

// A failed collection keeps the values read before.
std::vector<double> SystemSampler::ReadCounterLoads(int64_t now) {
  std::optional<CounterReading> reading = counters_.ReadProcessors();
  if (!reading) {
    targets_.ShowStatusMessage(L"PdhCollectQueryData " + Tr(L"Failed") + L" " +
                               FormatDate(L"%yyyy-%mm-%dd %hh:%ii:%ss", now));
    return {};
  }
  if (reading->Counts)
    counts_ = *reading->Counts;
  else if (const std::optional<ProcessCounts> counts = sources_.Processors.Counts())
    counts_ = *counts;
  return std::move(reading->Loads);
}

// Without counters the loads come from the processors' times between two passes, and the counts
// from the process list.
std::vector<double> SystemSampler::ReadTimeLoads() {
  std::vector<double> percent;
  std::optional<std::vector<ProcessorTimes>> times = sources_.Processors.Times();
  if (times) {
    if (const std::optional<std::vector<uint64_t>> idle = sources_.Processors.IdleTimes())
      times = WithIdleTimes(std::move(*times), *idle);
    if (lastTimes_) {
      if (std::optional<ProcessorLoads> loads = LoadsBetween(*lastTimes_, *times))
        percent = std::move(loads->Percent);
    }
    lastTimes_ = std::move(times);
  }
  if (const std::optional<ProcessCounts> counts = sources_.Processors.Counts())
    counts_ = *counts;
  return percent;
}

void SystemSampler::NoteLoads(const std::vector<double>& percent) {
  if (percent.empty())
    return;
  double sum = 0;
  for (size_t processor = 0; processor < percent.size(); ++processor) {
    if (processor < processorEntries_.size())
      processorEntries_[processor].LoadPercent = WholePercent(percent[processor]);
    sum += percent[processor];
  }
  averageLoad_ = WholePercent(sum / static_cast<double>(percent.size()));
}

void SystemSampler::AddProcessorSamples(const std::vector<double>& percent) {
  const int firstGraph = targets_.Options.Get(opt::FirstProcessorGraph);
  for (size_t processor = 0; processor < percent.size(); ++processor) {
    targets_.AddGraphSample(firstGraph + static_cast<int>(processor),
                            static_cast<float>(percent[processor]));
  }
}

// While the counter names are rebuilt (and Windows may ask the user to allow it) the cell keeps
// saying so; once the rebuild ended it shows the loads from the processors' times while the names
// are still looked for.
void SystemSampler::ShowProcessorTexts(int64_t now) {
  const bool changed = meanMhz_ != shownMhz_ || averageLoad_ != shownLoad_;
  if (changed && !counters_.Rebuilding()) {
    shownMhz_ = meanMhz_;
    shownLoad_ = averageLoad_;
    const ProcessorTexts texts =
        MakeProcessorTexts({meanMhz_, averageLoad_, idleState_, pState_, logicalCount_});
    speedAndLoad_ = texts.SpeedAndLoad;
    if (SetMeterText(kCpuMeter, texts.MeterText))
      targets_.MeterChanged(kCpuMeter, false);
    const int limit = targets_.Options.Get(opt::HistoryRowLimit);
    targets_.ProcessorHistory.Change([&](std::vector<std::wstring>& rows) {
      AddHistoryRow(rows, limit, 0, texts.HistoryText, now);
    });
    targets_.Titles.Publish(kProcessorTitleMode, ProcessorTitle(texts.MeterText));
    // Shown once without a load, the load counts as 0 from now on, so a machine whose loads
    // cannot be read shows " 0%" with its speed.
    averageLoad_ = std::max(averageLoad_, 0);
  }
  if (const std::optional<std::wstring> row =
          valuesRow_.Update(speedAndLoad_, counts_, pState_, idleStates_)) {
    SetFirstRow(targets_.ProcessorValues, *row);
  }
}

void SystemSampler::KeepProcessorReadings() {
  auto readings = targets_.Readings.Lock();
  readings->MeanMhz = meanMhz_;
  readings->SpeedPercent = static_cast<int>(SpeedPercent());
  readings->AverageLoad = std::max(averageLoad_, 0);
  readings->Processors = processorEntries_;
  readings->HighestMhz = highestMhz_;
}

int64_t SystemSampler::SpeedPercent() const {
  // In whole hundredths of the highest speed, as the speed graph has always counted.
  const int64_t hundredth = highestMhz_ / 100;
  return hundredth > 0 ? meanMhz_ / hundredth : 0;
}

void SystemSampler::AddSystemSamples() {
  for (const MemoryMeter& meter : memory_) {
    if (meter.LastShownMiB >= 0)
      targets_.AddGraphSample(meter.Graph, static_cast<float>(meter.PercentAvailable));
  }
  if (highestMhz_ / 100 > 0)
    targets_.AddGraphSample(kSpeedGraph, static_cast<float>(SpeedPercent()));
  targets_.AddGraphSample(kAverageLoadGraph, static_cast<float>(std::max(averageLoad_, 0)));
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
  KeepPowerReadings(reading);
  if (changed) {
    const BatteryTexts texts = MakeBatteryTexts(reading);
    if (const std::optional<std::wstring> event = BatteryEventText(batteryTexts_, texts))
      targets_.RecordSystemEvent(*event);
    batteryTexts_ = texts;
    SetMeterText(kBatteryMeter, batteryTexts_.Text);
    targets_.Titles.Publish(kBatteryTitleMode, BatteryTitle(batteryTexts_.Text, reading.Percent));
  }
  batteryInverted_ = BatteryBlinks(reading) && !batteryInverted_;
  const MeterColours colours = BatteryMeterColours(batteryInverted_);
  bool recoloured = false;
  {
    auto meters = targets_.Meters.Lock();
    MeterRecord& cell = (*meters)[kBatteryMeter];
    recoloured = cell.BackColour != colours.Back || cell.TextColour != colours.Text;
    cell.BackColour = colours.Back;
    cell.TextColour = colours.Text;
  }
  // A cell whose colours changed is drawn again even when its text did not (a blink that ends
  // because the charger came in).
  if (changed || recoloured)
    targets_.MeterChanged(kBatteryMeter, recoloured);
}

// The uptime counter while it gives a settled value; otherwise the millisecond clock's own
// count, which starts with the system. A counter that has not settled is given up for the run.
void SystemSampler::ShowUptime(int64_t tickMs) {
  int64_t seconds = tickMs / 1000;
  bool fromCounter = false;
  if (const std::optional<double> counted = counters_.UptimeSeconds()) {
    seconds = std::llround(*counted);
    fromCounter = true;
    if (seconds < 2)
      counters_.StopUsingUptime();
  }
  targets_.Readings.Lock()->UptimeSeconds = seconds;
  const UptimeTexts texts = MakeUptimeTexts(seconds, fromCounter);
  uptimeListText_ = texts.ListText;
  if (SetMeterText(kUptimeMeter, texts.MeterText)) {
    targets_.MeterChanged(kUptimeMeter, true);
    targets_.Titles.Publish(kUptimeTitleMode, UptimeTitle(texts.MeterText));
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
  if (update.LongIdleEvent)
    targets_.RecordSystemEvent(*update.LongIdleEvent);
  if (!update.Changed)
    return;
  SetMeterText(kIdleMeter, update.MeterText);
  if (update.Redraw || update.ForceRedraw)
    targets_.MeterChanged(kIdleMeter, update.ForceRedraw);
  targets_.Titles.Publish(kIdleTitleMode, IdleTitle(update.MeterText));
}

void SystemSampler::ShowBatteryUptimeIdleRow() {
  const std::wstring idleText = (*targets_.Meters.Lock())[kIdleMeter].Text;
  SetFirstRow(targets_.BatteryUptimeIdle,
              BatteryUptimeIdleRow(batteryTexts_.Text, batteryTexts_.Status, uptimeListText_,
                                   idleText, recentIdleText_));
}

// Only the drive counters know the rates: without them the R and W cells stay blank rather than
// show a rate nobody measured.
void SystemSampler::ShowDriveRates() {
  const std::optional<DriveRates> rates = counters_.ReadDrives();
  if (!rates)
    return;
  if (SetMeterText(kWriteMeter, FormatSize(rates->WriteBytes, kRateSizeStyle)))
    targets_.MeterChanged(kWriteMeter, false);
  if (SetMeterText(kReadMeter, FormatSize(rates->ReadBytes, kRateSizeStyle)))
    targets_.MeterChanged(kReadMeter, false);
  targets_.RescaleGraph(kDriveWriteGraph, rates->WriteBytes);
  targets_.RescaleGraph(kDriveReadGraph, rates->ReadBytes);
  const int64_t writeKb = rates->WriteBytes / 1024;
  const int64_t readKb = rates->ReadBytes / 1024;
  {
    auto readings = targets_.Readings.Lock();
    readings->ReadKbPerSecond = readKb;
    readings->WriteKbPerSecond = writeKb;
  }
  targets_.AddGraphSample(kDriveWriteGraph, static_cast<float>(writeKb));
  targets_.AddGraphSample(kDriveReadGraph, static_cast<float>(readKb));
  targets_.Titles.Publish(kDrivesTitleMode, DriveRatesTitle(Tr(L"Drive"), readKb, writeKb));
}

void SystemSampler::KeepPowerReadings(const BatteryReading& reading) {
  auto readings = targets_.Readings.Lock();
  readings->BatteryPercent =
      reading.Percent >= 0 ? std::optional<int>(reading.Percent) : std::nullopt;
  // The line status byte reads 1 on mains, 0 on battery, anything else when unknown.
  readings->OnMains = reading.AcStatus == 0 || reading.AcStatus == 1
                          ? std::optional<bool>(reading.AcStatus == 1)
                          : std::nullopt;
}

// Read only while somebody asks for it: the source answers nothing while the metrics page is off.
void SystemSampler::KeepOwnProcess() {
  if (!sources_.OwnProcess)
    return;
  std::optional<OwnProcessReading> figures = sources_.OwnProcess();
  targets_.Readings.Lock()->OwnProcess = std::move(figures);
}

void SystemSampler::WatchDesktop() {
  const std::optional<platform::DisplayFacts> facts = sources_.Display.Current();
  if (!facts)
    return;
  for (const std::wstring& event :
       DesktopChangeEvents(ReportedDesktop(targets_.Options), DesktopModeOf(*facts))) {
    targets_.RecordSystemEvent(event);
    systemTextChanged_ = true;
  }
}

bool SystemSampler::SetMeterText(int meter, const std::wstring& text) {
  auto meters = targets_.Meters.Lock();
  std::wstring& shown = (*meters)[static_cast<size_t>(meter)].Text;
  if (shown == text)
    return false;
  shown = text;
  return true;
}

}  // namespace tarvik
