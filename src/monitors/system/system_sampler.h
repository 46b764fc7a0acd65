#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/list_model.h"
#include "core/meter_table.h"
#include "core/monitor_thread.h"
#include "core/settings.h"
#include "monitors/system/battery_texts.h"
#include "monitors/system/idle_tracker.h"
#include "monitors/system/memory_texts.h"
#include "monitors/system/processor_load.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/memory.h"
#include "platform/power_status.h"
#include "platform/processors.h"
#include "platform/user_activity.h"

namespace tarvik {

struct SamplerSources {
  platform::Memory& Memory;
  platform::UserActivity& Activity;
  platform::Processors& Processors;
  platform::PowerSource& Power;
  const platform::Clock& Clock;
  platform::Environment& Env;
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
  std::function<void(int meter, bool force)> MeterChanged;
  std::function<void(int graph, float value)> AddGraphSample;
  // The mini window's title summary changed (title-bar modes 1 to 8).
  std::function<void(const std::wstring& summary)> TitleSummaryChanged;
};

// The system sampler: memory once a second (every pass with "Real-Time Memory Monitor"); every
// 2.5 s the processors' loads and speed and the graph samples; uptime and idle once a second. It
// writes the Phys, Page, CPU, Uptime and Idle cells, the memory and processor history lists, the
// Battery/Uptime/Idle row, the graphs' samples and the title summary.
class SystemSampler : public MonitorThread {
 public:
  static constexpr int kPassMs = 125;
  static constexpr int64_t kGraphPeriodMs = 2'500;

  SystemSampler(StopSignal& stop, SamplerSources sources, SamplerTargets targets);

  int Pass(int64_t tickMs) override;

  [[nodiscard]] const std::wstring& TitleSummary() const { return titleSummary_; }

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

  void SampleMemory(int64_t now);
  void ShowMemory(MemoryMeter& meter, const MemoryReading& reading, int64_t now);
  void AddMemorySamples();
  void SampleProcessors(int64_t now);
  // The mean current speed and idle state of the processors, when their power can be read.
  void ReadProcessorPower(int count);
  void SampleBattery();
  void ShowUptime(int64_t tickMs);
  void ShowIdle(int64_t tickMs);
  void ShowBatteryUptimeIdleRow();
  // Sets a cell's text; true when it changed.
  bool SetMeterText(int meter, const std::wstring& text);
  void SetTitleSummary(int mode, const std::wstring& summary);

  SamplerSources sources_;
  SamplerTargets targets_;
  std::array<MemoryMeter, 2> memory_;
  int64_t lastSecond_ = -1;
  int64_t nextGraphMs_ = 0;
  std::optional<std::vector<ProcessorTimes>> lastTimes_;
  int64_t meanMhz_ = 0;
  int64_t highestMhz_ = 0;
  int idleState_ = 0;
  int averageLoad_ = -1;
  int64_t shownMhz_ = -1;
  int shownLoad_ = -2;
  std::optional<BatteryReading> battery_;
  BatteryTexts batteryTexts_;
  bool batteryInverted_ = false;
  std::wstring uptimeListText_;
  uint32_t lastInputTick_ = 0;
  int64_t idleSinceMs_ = 0;
  bool idleStarted_ = false;
  IdleState idle_;
  std::wstring recentIdleText_;
  std::wstring titleSummary_;
};

}  // namespace tarvik
