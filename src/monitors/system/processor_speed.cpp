#include "monitors/system/processor_speed.h"

#include "monitors/system/processor_texts.h"

namespace tarvik {

PowerSummary SummarisePower(const std::vector<platform::ProcessorPower>& power, int logicalCount) {
  PowerSummary summary;
  if (power.empty())
    return summary;
  int64_t mhz = 0;
  int64_t idle = 0;
  std::vector<int> idleStates;
  for (const platform::ProcessorPower& processor : power) {
    mhz += processor.CurrentMhz;
    idle += processor.CurrentIdleState;
    idleStates.push_back(static_cast<int>(processor.CurrentIdleState));
  }
  const auto processors = static_cast<int64_t>(power.size());
  summary.MeanMhz = mhz / processors;
  summary.IdleState = static_cast<int>((idle + processors / 2) / processors);
  summary.IdleStates = IdleStateList(idleStates, logicalCount);
  return summary;
}

std::optional<int64_t> StoredSpeedMhz(std::wstring_view text) {
  constexpr int64_t kMostMhz = 1'000'000;
  int64_t mhz = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9' || mhz > kMostMhz)
      break;
    mhz = mhz * 10 + (c - L'0');
  }
  if (mhz <= 0)
    return std::nullopt;
  return mhz;
}

void SpeedRange::Note(int64_t mhz) {
  if (Highest < 0 || mhz > Highest)
    Highest = mhz;
  if (Lowest < 0 || mhz < Lowest)
    Lowest = mhz;
}

}  // namespace tarvik
