#pragma once

#include <array>
#include <string>

#include "core/guarded.h"
#include "core/palette.h"

namespace tarvik {

// One display row of the shared meter table: 0 the drive summary, 1-26 the drives A-Z, 28-39
// the mini window's own items, 41-48 graphics cards, 49-80 network adapters.
struct MeterRecord {
  bool Active = false;
  int X = 0;
  int Y = 0;
  int Column = 0;
  int Row = 0;
  int Width = 0;
  int DisplayOrder = 0;
  Colour BackColour = 0xFFFFFF;
  Colour TextColour = 0x000000;
  std::wstring Label;
  std::wstring Key;
  std::wstring Text;
  std::wstring PreviousText;
};

inline constexpr int kMeterCount = 81;
inline constexpr int kDriveSummaryMeter = 0;
inline constexpr int kFirstDriveMeter = 1;  // drive A; drive Z is meter 26
inline constexpr int kLastDriveMeter = 26;
inline constexpr int kFirstMiniMeter = 28;  // "Phys"; item k of the cell list is meter 27 + k
inline constexpr int kFirstGpuMeter = 41;
inline constexpr int kFirstAdapterMeter = 49;

// The mini window's own cells, meter 27 + k for item k of "Phys,Page,CPU,Batt,Uptime,Idle,R,W,
// Ping,[-],[+],[X]".
inline constexpr int kPhysMeter = 28;
inline constexpr int kPageMeter = 29;
inline constexpr int kCpuMeter = 30;
inline constexpr int kBatteryMeter = 31;
inline constexpr int kUptimeMeter = 32;
inline constexpr int kIdleMeter = 33;
inline constexpr int kReadMeter = 34;
inline constexpr int kWriteMeter = 35;
inline constexpr int kPingMeter = 36;
inline constexpr int kMinimizeCellMeter = 37;
inline constexpr int kRestoreCellMeter = 38;
inline constexpr int kCloseCellMeter = 39;
inline constexpr int kLastBuiltInMeter = 39;

using MeterTable = Guarded<std::array<MeterRecord, kMeterCount>>;

}  // namespace tarvik
