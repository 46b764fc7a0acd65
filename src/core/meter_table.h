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
inline constexpr int kFirstMiniMeter = 28;  // "Phys"; item k of the cell list is meter 27 + k
inline constexpr int kFirstGpuMeter = 41;
inline constexpr int kFirstAdapterMeter = 49;

using MeterTable = Guarded<std::array<MeterRecord, kMeterCount>>;

}  // namespace tarvik
