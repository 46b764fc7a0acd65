#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarvik::platform {

// One query of performance counters; its counters go with it.
class CounterQuery {
 public:
  virtual ~CounterQuery() = default;
  // Adds a counter by its full path ("\Processor(0)\% Processor Time"); its number within the
  // query, or nothing when the path is refused.
  [[nodiscard]] virtual std::optional<int> Add(const std::wstring& path) = 0;
  // Takes one sample of every counter of the query.
  [[nodiscard]] virtual bool Collect() = 0;
  // A counter's value from the samples taken so far, not capped at 100; nothing when it has
  // no valid value.
  [[nodiscard]] virtual std::optional<double> Value(int counter) = 0;
};

// The system's performance counters.
class PerformanceCounters {
 public:
  virtual ~PerformanceCounters() = default;
  // The name of a counter or object in the system's language, by its standard index; empty when
  // the system does not know it.
  [[nodiscard]] virtual std::wstring NameOf(uint32_t index) = 0;
  // A new, empty query; nothing when none can be opened.
  [[nodiscard]] virtual std::unique_ptr<CounterQuery> OpenQuery() = 0;
  // Starts rebuilding the system's counter names from their backup ("Lodctr /R", elevated, in
  // the background) with `folder` as its working folder, where Lodctr is looked for first; this
  // process's own current folder stays as it is. False when it could not be started.
  [[nodiscard]] virtual bool StartNameRebuild(const std::wstring& folder) = 0;
};

}  // namespace tarvik::platform
