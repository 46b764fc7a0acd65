#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/guarded.h"
#include "core/meter_table.h"
#include "core/monitor_thread.h"
#include "core/settings.h"
#include "monitors/gpu/gpu_readings.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/nvml.h"

namespace tarvik {

struct GpuSources {
  const platform::nvml::Functions& Nvml;
  NvmlSystem System;  // as the library reported it when it was started
  const platform::Clock& Clock;
  platform::Environment& Env;
};

// Where the GPU monitor's results go; each callable runs on the monitor's thread.
struct GpuTargets {
  Settings& Options;
  // The cards' cells of the mini window (meters 41-48).
  MeterTable& Meters;
  Guarded<GpuReadings>& Readings;
  // A dated line of the Graphics tab's list: the selected card's summary when it changed, and
  // any card's when it went out of reach.
  std::function<void(const std::wstring& line)> AddSummaryLine;
  // A line of the system events list: a card went out of reach.
  std::function<void(const std::wstring& text)> RecordSystemEvent;
  std::function<void(int meter, bool force)> MeterChanged;
  // The card cells came or went: the mini window lays its cells out again.
  std::function<void()> RefreshLayout;
  std::function<void(int graph, float value)> AddGraphSample;
  // The cards were read again (or errors are shown or hidden): the detail list and the
  // selector are built again from the readings.
  std::function<void()> DevicesChanged;
  // New samples are in the graphs: the Graphics tab draws them when it is shown.
  std::function<void()> GraphsSampled;
  // Serves the copy request of the Graphics tab.
  std::function<void(int panel)> CopyPanel;
};

// The GPU monitor: reads the cards' facts at its first pass and on each refresh request, then
// once a second samples every card's clocks, load, fan, P-state, power, temperature and memory
// and shows them in the cards' cells, the summary list and the graphs. Every library call runs
// outside every shared lock, so a card that stops answering holds up this thread only; a card
// whose calls fail shows its failure in its row and the thread goes on. A card out of reach (no
// handle, or fallen off the bus) is asked nothing more: its cell, its summary line, the detail
// list and one system event say so, and the other cards go on. The library is shut down when
// the thread ends.
class GpuMonitor : public MonitorThread {
 public:
  static constexpr const wchar_t* kName = L"GPU monitor";
  static constexpr int kPassMs = 250;
  static constexpr int kGraphicsTabCopy = 2;
  static constexpr int kGraphsPerCard = 10;
  static constexpr size_t kHistoryLength = 567;  // one entry per pixel column of a graph

  GpuMonitor(StopSignal& stop, GpuSources sources, GpuTargets targets);

  int Pass(int64_t tickMs) override;

  // The library calls one sample of every card took, for the benchmark.
  [[nodiscard]] int64_t Samples() const { return samples_; }

 protected:
  void Run() override;

 private:
  void Enumerate();
  void ShowCards();
  void ReportCardsOutOfReach();
  void SampleCards();
  void ShowCard(int index, const GpuDevice& device);
  void ShowSummary(int index, const GpuDevice& device);
  void AddGraphSamples(int index, GpuDevice& device);
  [[nodiscard]] int SelectedCard() const;

  GpuSources sources_;
  GpuTargets targets_;
  GpuDevices devices_;
  bool enumerated_ = false;
  int64_t lastSecond_ = -1;
  int64_t samples_ = 0;
  std::wstring lastSummary_;
  // The out-of-reach status each card's event last told, 0 while none.
  std::array<platform::nvml::Return, kMaxGpus> reportedStatus_{};
};

}  // namespace tarvik
