#include "core/fixed_lists.h"

namespace tarvik {
namespace {

// The processor properties asked of the system, in slot order; the last two name computed rows.
constexpr const wchar_t* kProcessorProperties[] = {L"CurrentClockSpeed",
                                                   L"Description",
                                                   L"L2CacheSize",
                                                   L"L3CacheSize",
                                                   L"Manufacturer",
                                                   L"MaxClockSpeed",
                                                   L"Name",
                                                   L"NumberOfCores",
                                                   L"NumberOfEnabledCore",
                                                   L"NumberOfLogicalProcessors",
                                                   L"ProcessorId",
                                                   L"Speed in HZ",
                                                   L"% Avg"};

}  // namespace

void PlaceFixedLists(TextSlots& texts) {
  int index = slot::ProcessorPropertyFirst;
  for (const wchar_t* property : kProcessorProperties)
    texts.Set(index++, property);
  texts.Set(slot::BatteryStatusLabel, L"Battery Status");
  texts.Set(slot::LongIdleList, kLongIdleMinutes);
  texts.Set(slot::PingIntervalList, kPingIntervalSeconds);
  texts.Set(slot::StatusReady, L"Ready.");
  texts.Set(slot::MiniCellLabels, kMiniCellKeys);
  texts.Set(slot::GpuBrandList, kGpuBrandNames);
}

}  // namespace tarvik
