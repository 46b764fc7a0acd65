#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/performance_counters.h"
#include "platform/processors.h"

namespace tarvik {

// Bytes per second the drives read and write, over every physical disk.
struct DriveRates {
  int64_t ReadBytes = 0;
  int64_t WriteBytes = 0;
};

// Where the counter names are rebuilt: the 32-bit system folder under the Windows folder; empty
// when the Windows folder is unknown.
[[nodiscard]] std::wstring CounterRebuildFolder(const std::wstring& windowsFolder);

// One reading of the processor query: each processor's load in percent (above 100 where the
// system says so) and the system's counts, when they could be read.
struct CounterReading {
  std::vector<double> Loads;
  std::optional<platform::ProcessCounts> Counts;
};

// Shows a failure of the counters on the status line.
using CounterReport = std::function<void(const std::wstring& message)>;
// Runs the work on a short-lived thread of its own; false when no thread could start.
using TaskStarter = std::function<bool(std::function<void()> work)>;

// The performance counters the system sampler reads: the processor query (each processor's time,
// the process, thread and handle counts), the uptime query and the drive query. Paths are built
// from the names in the system's language. A failure of the processor query's start-up turns
// the whole set off for the run; the uptime and the drive queries only go unused when they fail.
class PerformanceCounterSet {
 public:
  static constexpr int kRepairPollMs = 250;
  static constexpr int kRepairPolls = 240;

  // The counter names are rebuilt in `rebuildFolder` (none when empty).
  PerformanceCounterSet(platform::PerformanceCounters& counters, TaskStarter startTask,
                        std::wstring rebuildFolder)
      : counters_(counters),
        startTask_(std::move(startTask)),
        rebuildFolder_(std::move(rebuildFolder)) {}

  // The start-up, step by step while none failed: a test query; when the processor's name is
  // missing, the rebuild of the counter names (`repairing` says so), after which the start-up
  // goes on in AwaitNames; the processor query with its first collection; the uptime and the
  // drive queries.
  void Start(int processorCount, int64_t tickMs, const CounterReport& report,
             const std::function<void()>& repairing);
  // While the names are rebuilt, called on every pass: looks for them every 250 ms, and goes on
  // with the start-up once they are back or a minute has passed. The sampler works on meanwhile,
  // without the counters.
  void AwaitNames(int64_t tickMs, const CounterReport& report);
  [[nodiscard]] bool AwaitingNames() const { return repairEndsMs_ > 0; }
  // The rebuild itself still runs (Windows may be asking the user to allow it).
  [[nodiscard]] bool Rebuilding() const { return rebuildRunning_ && rebuildRunning_->load(); }

  [[nodiscard]] bool On() const { return processorQuery_ != nullptr; }
  // Collects the processor query; nothing when that failed.
  [[nodiscard]] std::optional<CounterReading> ReadProcessors();
  // Seconds since the system started, while the uptime counter is in use.
  [[nodiscard]] std::optional<double> UptimeSeconds();
  void StopUsingUptime() { uptimeQuery_.reset(); }
  [[nodiscard]] std::optional<DriveRates> ReadDrives();

 private:
  // True when the rebuild is under way (or, for all that is known yet, may be).
  bool StartRebuild();
  [[nodiscard]] bool RebuildFailed() const { return rebuildFailed_ && rebuildFailed_->load(); }
  void FinishStart(const CounterReport& report);
  bool StartProcessorQuery(std::unique_ptr<platform::CounterQuery> query,
                           const CounterReport& report);
  void StartUptimeQuery();
  void StartDriveQuery();

  platform::PerformanceCounters& counters_;
  TaskStarter startTask_;
  std::wstring rebuildFolder_;
  // Set by the rebuild's thread when the rebuild could not be started.
  std::shared_ptr<std::atomic<bool>> rebuildFailed_;
  // Cleared by the rebuild's thread when it ends.
  std::shared_ptr<std::atomic<bool>> rebuildRunning_;
  int processorCount_ = 0;
  std::unique_ptr<platform::CounterQuery> pendingQuery_;  // the test query, for the processors
  int64_t nextPollMs_ = 0;
  int64_t repairEndsMs_ = 0;  // 0 while no rebuild is awaited
  std::unique_ptr<platform::CounterQuery> processorQuery_;
  std::vector<int> processorCounters_;
  int processesCounter_ = 0;
  int threadsCounter_ = 0;
  int handlesCounter_ = 0;
  std::unique_ptr<platform::CounterQuery> uptimeQuery_;
  int uptimeCounter_ = 0;
  std::unique_ptr<platform::CounterQuery> driveQuery_;
  int readCounter_ = 0;
  int writeCounter_ = 0;
};

}  // namespace tarvik
