#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tarvik {

// What one monitor's passes came to over the last minute and the last five.
struct MonitorPassTotals {
  std::wstring Monitor;
  int PassesLastMinute = 0;
  int64_t BusyUsLastMinute = 0;
  int64_t BusyUsLastFiveMinutes = 0;
};

// Every monitor's passes, counted per second of the monotonic clock over the last five minutes:
// how many ran and how long they took. The monitors record from their own threads; any thread
// may read the totals.
class PassLedger {
 public:
  static constexpr int kSecondsKept = 300;
  static constexpr int kMinuteSeconds = 60;

  void Record(const std::wstring& monitor, int64_t tickMs, int64_t durationUs);
  // In the order the monitors first recorded a pass.
  [[nodiscard]] std::vector<MonitorPassTotals> Totals(int64_t tickMs);

 private:
  struct Second {
    int64_t Number = 0;  // the monotonic clock's whole second; unused while Passes is 0
    int Passes = 0;
    int64_t BusyUs = 0;
  };
  struct Monitor {
    std::wstring Name;
    std::array<Second, kSecondsKept> Seconds{};
  };

  std::mutex mutex_;
  std::vector<Monitor> monitors_;
};

}  // namespace tarvik
