#pragma once

#include "core/text_slots.h"

namespace tarvik {

inline constexpr const wchar_t* kLongIdleMinutes =
    L"1,2,3,5,10,15,20,25,30,45,60,120,180,240,300,0";
inline constexpr const wchar_t* kPingIntervalSeconds =
    L"1,2,3,4,5,10,15,20,30,60,120,180,240,300,600,900";
// The same ping intervals as numbers, and the slow-response choices: (position + 1) x 50 ms.
inline constexpr int kPingIntervalChoices[] = {1,  2,  3,   4,   5,   10,  15,  20,
                                               30, 60, 120, 180, 240, 300, 600, 900};
inline constexpr int kPingIntervalCount = 16;
inline constexpr int kSlowStepMs = 50;
inline constexpr int kSlowChoiceCount = 16;
// The names of the library's brand numbers, from 0 on.
inline constexpr const wchar_t* kGpuBrandNames =
    L"Unknown,Quadro,Tesla,NVS,GRID,GeForce,Titan,NVIDIA vApps,NVIDIA Virtual PC,"
    L"NVIDIA Virtual Compute Server,NVIDIA RTX Virtual Workstation,NVIDIA Cloud Gaming,"
    L"Quadro RTX,NVIDIA RTX,NVIDIA,GeForce RTX,Titan RTX";
inline constexpr const wchar_t* kMiniCellKeys =
    L"Phys,Page,CPU,Batt,Uptime,Idle,R,W,Ping,[-],[+],[X]";

// Places the fixed list texts in their slots at start.
void PlaceFixedLists(TextSlots& texts);

}  // namespace tarvik
