#include "monitors/system/performance_counter_set.h"

#include <algorithm>
#include <cmath>

namespace tarvik {
namespace {

// The standard indices of the counter and object names.
constexpr uint32_t kSystemName = 2;
constexpr uint32_t kProcessorTimeName = 6;
constexpr uint32_t kDiskReadBytesName = 220;
constexpr uint32_t kDiskWriteBytesName = 222;
constexpr uint32_t kProcessName = 230;
constexpr uint32_t kPhysicalDiskName = 234;
constexpr uint32_t kProcessorName = 238;
constexpr uint32_t kProcessesName = 248;
constexpr uint32_t kThreadsName = 250;
constexpr uint32_t kHandleCountName = 952;
// "\System\System Up Time" by its indices, which every language shares.
constexpr const wchar_t* kUptimePath = L"\\2\\674";

// A counter's value as a count or a rate: a broken counter's value that is no finite number, or
// a negative one, reads as 0.
double Sound(double value) {
  return std::isfinite(value) && value > 0.0 ? std::min(value, 1e15) : 0.0;
}

}  // namespace

std::wstring CounterRebuildFolder(const std::wstring& windowsFolder) {
  return windowsFolder.empty() ? L"" : windowsFolder + L"\\syswow64";
}

void PerformanceCounterSet::Start(int processorCount, int64_t tickMs, const CounterReport& report,
                                  const std::function<void()>& repairing) {
  processorCount_ = processorCount;
  pendingQuery_ = counters_.OpenQuery();
  if (!pendingQuery_) {
    report(L"PdhOpenQuery Test Failed");
    return;
  }
  // A system whose counter names got lost answers with no name: they are rebuilt from their
  // backup, elevated, and the start-up goes on when they are back. A rebuild that could not be
  // started brings nothing back, so the start-up goes on at once and its paths say what failed.
  if (counters_.NameOf(kProcessorName).empty() && StartRebuild() && !RebuildFailed()) {
    repairing();
    nextPollMs_ = tickMs + kRepairPollMs;
    repairEndsMs_ = tickMs + kRepairPolls * kRepairPollMs;
    return;
  }
  FinishStart(report);
}

void PerformanceCounterSet::AwaitNames(int64_t tickMs, const CounterReport& report) {
  if (!AwaitingNames() || tickMs < nextPollMs_)
    return;
  nextPollMs_ = tickMs + kRepairPollMs;
  if (counters_.NameOf(kProcessorName).empty() && tickMs < repairEndsMs_ && !RebuildFailed())
    return;
  repairEndsMs_ = 0;
  FinishStart(report);
}

// The rebuild asks for elevation and waits for the user's answer: it runs on a thread of its own,
// so the sampler's cells go on meanwhile.
bool PerformanceCounterSet::StartRebuild() {
  if (rebuildFolder_.empty())
    return false;
  auto failed = std::make_shared<std::atomic<bool>>(false);
  auto running = std::make_shared<std::atomic<bool>>(true);
  rebuildRunning_ = running;
  platform::PerformanceCounters& counters = counters_;
  if (!startTask_ || !startTask_([&counters, failed, running, folder = rebuildFolder_] {
        if (!counters.StartNameRebuild(folder))
          failed->store(true);
        running->store(false);
      })) {
    rebuildRunning_.reset();
    return false;
  }
  rebuildFailed_ = std::move(failed);
  return true;
}

void PerformanceCounterSet::FinishStart(const CounterReport& report) {
  std::unique_ptr<platform::CounterQuery> query = std::move(pendingQuery_);
  if (!StartProcessorQuery(std::move(query), report))
    return;
  StartUptimeQuery();
  StartDriveQuery();
}

bool PerformanceCounterSet::StartProcessorQuery(std::unique_ptr<platform::CounterQuery> query,
                                                const CounterReport& report) {
  const std::wstring processor = counters_.NameOf(kProcessorName);
  const std::wstring processorTime = counters_.NameOf(kProcessorTimeName);
  for (int i = 0; i < processorCount_; ++i) {
    const std::wstring path =
        L"\\" + processor + L"(" + std::to_wstring(i) + L")\\" + processorTime;
    const std::optional<int> counter = query->Add(path);
    if (!counter) {
      report(L"PdhAddCounter Failed: " + path);
      return false;
    }
    processorCounters_.push_back(*counter);
  }
  const std::wstring system = L"\\" + counters_.NameOf(kSystemName) + L"\\";
  const std::optional<int> processes = query->Add(system + counters_.NameOf(kProcessesName));
  const std::optional<int> threads = query->Add(system + counters_.NameOf(kThreadsName));
  const std::optional<int> handles = query->Add(L"\\" + counters_.NameOf(kProcessName) +
                                                L"(_Total)\\" + counters_.NameOf(kHandleCountName));
  if (!processes || !threads || !handles || !query->Collect()) {
    report(L"PdhOpenQuery Failed on Process/Threads/Handles");
    return false;
  }
  processesCounter_ = *processes;
  threadsCounter_ = *threads;
  handlesCounter_ = *handles;
  processorQuery_ = std::move(query);
  return true;
}

void PerformanceCounterSet::StartUptimeQuery() {
  std::unique_ptr<platform::CounterQuery> query = counters_.OpenQuery();
  if (!query)
    return;
  const std::optional<int> counter = query->Add(kUptimePath);
  if (!counter || !query->Collect())
    return;
  uptimeCounter_ = *counter;
  uptimeQuery_ = std::move(query);
}

void PerformanceCounterSet::StartDriveQuery() {
  std::unique_ptr<platform::CounterQuery> query = counters_.OpenQuery();
  if (!query)
    return;
  const std::wstring disk = L"\\" + counters_.NameOf(kPhysicalDiskName) + L"(_Total)\\";
  const std::optional<int> write = query->Add(disk + counters_.NameOf(kDiskWriteBytesName));
  const std::optional<int> read = query->Add(disk + counters_.NameOf(kDiskReadBytesName));
  if (!write || !read || !query->Collect())
    return;
  writeCounter_ = *write;
  readCounter_ = *read;
  driveQuery_ = std::move(query);
}

std::optional<CounterReading> PerformanceCounterSet::ReadProcessors() {
  if (!processorQuery_ || !processorQuery_->Collect())
    return std::nullopt;
  CounterReading reading;
  for (const int counter : processorCounters_)
    reading.Loads.push_back(Sound(processorQuery_->Value(counter).value_or(0.0)));
  const std::optional<double> processes = processorQuery_->Value(processesCounter_);
  const std::optional<double> threads = processorQuery_->Value(threadsCounter_);
  const std::optional<double> handles = processorQuery_->Value(handlesCounter_);
  if (processes && threads && handles) {
    reading.Counts = platform::ProcessCounts{static_cast<int64_t>(Sound(*processes)),
                                             static_cast<int64_t>(Sound(*threads)),
                                             static_cast<int64_t>(Sound(*handles))};
  }
  return reading;
}

std::optional<double> PerformanceCounterSet::UptimeSeconds() {
  if (!uptimeQuery_ || !uptimeQuery_->Collect())
    return std::nullopt;
  const std::optional<double> seconds = uptimeQuery_->Value(uptimeCounter_);
  if (!seconds)
    return std::nullopt;
  return Sound(*seconds);
}

std::optional<DriveRates> PerformanceCounterSet::ReadDrives() {
  if (!driveQuery_ || !driveQuery_->Collect())
    return std::nullopt;
  const std::optional<double> read = driveQuery_->Value(readCounter_);
  const std::optional<double> write = driveQuery_->Value(writeCounter_);
  if (!read || !write)
    return std::nullopt;
  return DriveRates{std::llround(Sound(*read)), std::llround(Sound(*write))};
}

}  // namespace tarvik
