#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/guarded.h"
#include "core/list_model.h"
#include "core/meter_table.h"
#include "core/monitor_thread.h"
#include "core/settings.h"
#include "core/title_board.h"
#include "monitors/system/battery_texts.h"
#include "monitors/system/idle_tracker.h"
#include "monitors/system/memory_texts.h"
#include "monitors/system/pause.h"
#include "monitors/system/performance_counter_set.h"
#include "monitors/system/processor_counts.h"
#include "monitors/system/processor_load.h"
#include "monitors/system/processor_speed.h"
#include "monitors/system/processor_texts.h"
#include "monitors/system/system_readings.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/environment.h"
#include "platform/memory.h"
#include "platform/own_process.h"
#include "platform/performance_counters.h"
#include "platform/power_status.h"
#include "platform/processors.h"
#include "platform/user_activity.h"

namespace tarvik {

struct SamplerSources {
  platform::Memory& Memory;
  platform::UserActivity& Activity;
  platform::Processors& Processors;
  platform::PowerSource& Power;
  platform::PerformanceCounters& Counters;
  platform::Display& Display;
  const platform::Clock& Clock;
  platform::Environment& Env;
  // The processor as described now: a description that WMI gives only after start-up stopped
  // waiting arrives later, with a System text refresh.
  std::function<ProcessorDescription()> Processor;
  // The sampler's waits within a pass, while it measures the speed; they end early when the
  // program stops.
  Pause Wait;
  // Short-lived helpers (the rebuild of the counter names) start here, so shut-down waits for them.
  TaskStarter StartTask;
  // The program's own figures, once a second; none when nobody needs them.
  std::function<std::optional<OwnProcessReading>()> OwnProcess;
};

// Where the sampler's results go: the shared records it writes, and what the windows do with
// them (each callable from the sampler's thread).
struct SamplerTargets {
  Settings& Options;
  MeterTable& Meters;
  ListModel& PhysicalHistory;
  ListModel& PageFileHistory;
  ListModel& BatteryUptimeIdle;
  ListModel& ProcessorHistory;
  ListModel& ProcessorInfo;    // the Processors tab's description row
  ListModel& ProcessorValues;  // the Processors tab's values row
  // The latest readings, which the windows draw from.
  Guarded<SystemReadings>& Readings;
  // The mini window's title summaries of the sampler's modes (1 to 7).
  TitleBoard& Titles;
  std::function<void(int meter, bool force)> MeterChanged;
  std::function<void(int graph, float value)> AddGraphSample;
  // A rate graph's scale follows the current byte rate.
  std::function<void(int graph, int64_t bytesPerSecond)> RescaleGraph;
  // One line on the Processors tab's status canvas, for counter failures.
  std::function<void(const std::wstring& message)> ShowStatusMessage;
  std::function<void(const std::wstring& text)> RecordSystemEvent;
  // The System tab's information block is to be drawn again (and the desktop mode kept).
  std::function<void()> RefreshSystemText;
  // Serves the copy request of the System (0) or Processors (1) tab.
  std::function<void(int panel)> CopyPanel;
};

// The system sampler: memory once a second (every pass with "Real-Time Memory Monitor"); every
// 2.5 s the processors' loads, speed and counts, the graph samples and the battery; uptime, idle
// and drive activity once a second; the desktop mode every 120 passes. It writes the mini
// window's system cells, the System and Processors tabs' lists, the graphs' samples and the
// readings they show, the title summaries and the system events. It serves the copies of the
// System and Processors tabs and their requests: the System text refresh (144) and the restart
// of the memory extremes (145).
class SystemSampler : public MonitorThread {
 public:
  static constexpr int kPassMs = 125;
  static constexpr int64_t kGraphPeriodMs = 2'500;
  static constexpr int kDesktopWatchPasses = 120;

  SystemSampler(StopSignal& stop, SamplerSources sources, SamplerTargets targets);

  int Pass(int64_t tickMs) override;

  // The highest and lowest mean processor speed seen since start.
  [[nodiscard]] const SpeedRange& SpeedSeen() const { return speedSeen_; }

 private:
  struct MemoryMeter {
    int Meter;
    const wchar_t* Key;
    int TitleMode;
    ListModel& History;
    int Graph;
    int64_t LastShownMiB = -1;
    int PercentAvailable = 0;
    MemoryExtremes Extremes;
  };

  void StartUp(int64_t tickMs);
  void ShowProcessorDescription();
  void SampleMemory(int64_t now);
  void ShowMemory(MemoryMeter& meter, const MemoryReading& reading, int64_t now);
  void SampleProcessors(int64_t now);
  void ReadSpeed();
  void KeepProcessorSpeeds(const std::vector<platform::ProcessorPower>& power);
  // Each processor's load in percent; none when nothing new was read.
  std::vector<double> ReadCounterLoads(int64_t now);
  std::vector<double> ReadTimeLoads();
  void NoteLoads(const std::vector<double>& percent);
  void AddProcessorSamples(const std::vector<double>& percent);
  void ShowProcessorTexts(int64_t now);
  void KeepProcessorReadings();
  // The mean speed in whole percent of the highest; 0 while the highest is unknown.
  [[nodiscard]] int64_t SpeedPercent() const;
  void AddSystemSamples();
  void SampleBattery();
  void ShowUptime(int64_t tickMs);
  void ShowIdle(int64_t tickMs);
  void ShowBatteryUptimeIdleRow();
  void ShowDriveRates();
  void KeepPowerReadings(const BatteryReading& reading);
  void KeepOwnProcess();
  void WatchDesktop();
  // Sets a cell's text; true when it changed.
  bool SetMeterText(int meter, const std::wstring& text);

  SamplerSources sources_;
  SamplerTargets targets_;
  std::array<MemoryMeter, 2> memory_;
  MemoryTotals reportedTotals_;
  int64_t passes_ = 0;
  int64_t lastSecond_ = -1;
  int64_t nextGraphMs_ = 0;
  int logicalCount_ = 1;
  PerformanceCounterSet counters_;
  std::optional<std::vector<ProcessorTimes>> lastTimes_;
  int64_t highestMhz_ = 0;
  int64_t meanMhz_ = 0;
  // Each processor's label, its own speed (the mean where the power information has none) and
  // its load.
  std::vector<ProcessorEntry> processorEntries_;
  SpeedRange speedSeen_;
  int idleState_ = 0;
  std::wstring idleStates_;
  int pState_ = 0;
  int averageLoad_ = -1;
  int64_t shownMhz_ = -1;
  int shownLoad_ = -2;
  std::wstring speedAndLoad_;
  ProcessCounts counts_;
  ProcessorValuesRow valuesRow_;
  std::optional<BatteryReading> battery_;
  BatteryTexts batteryTexts_;
  bool batteryInverted_ = false;
  std::wstring uptimeListText_;
  uint32_t lastInputTick_ = 0;
  int64_t idleSinceMs_ = 0;
  bool idleStarted_ = false;
  IdleState idle_;
  std::wstring recentIdleText_;
  bool systemTextChanged_ = false;
};

}  // namespace tarvik
