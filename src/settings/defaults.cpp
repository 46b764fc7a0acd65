#include "settings/defaults.h"

#include <algorithm>
#include <utility>

namespace tarvik {
namespace {

struct Default {
  int Index;
  int32_t Value;
};

// Flags of the packed option string that start on; the others start off.
constexpr int kFlagsOn[] = {opt::AlwaysOnTop,      opt::ExtendedLogBuffering, opt::SingleClickTray,
                            opt::LogStorageEvents, opt::LogNetworkEvents,     opt::LogDriveSpace,
                            opt::LogSystemEvents,  opt::TrayIconEnabled,      opt::MinimizeToTray};

constexpr Default kDefaults[] = {
    {opt::TextLineHeight, 12},
    {opt::CopyRequest, -1},
    {opt::HistoryRowLimit, 100},
    {opt::StartValue45, 1},
    {opt::TransparencyStep, 8},
    {opt::StartValue51, 80},
    {opt::EventLineLimit, 499},
    {opt::StartValue57, -1},
    {opt::LongIdleChoice, kDefaultLongIdleChoice},
    {opt::LongIdleSeconds, kDefaultLongIdleSeconds},
    {opt::StartValue60, 10},
    {opt::StartValue124, 128},
    {opt::StartValue134, 128},
    {opt::StartValue142, -1},
    {opt::SelectedGpu, -1},
    {opt::FirstGpuGraph, 800},
    {opt::SelectedGpuGraph, 800},
    {opt::StartValue192, 800},
    {opt::StartValue193, 10},
    {opt::ProcessorGridColumns, 1},
    {opt::ProcessorGridRows, 1},
    {opt::ProcessorGridGap, 4},
    {opt::ProcessorGridTop, 112},
    {opt::ProcessorGridWidth, 878},
    {opt::ProcessorGridHeight, 420},
    {opt::StartValue211, 1},
    {opt::ProcessorColourLast, -1},
    {opt::FirstProcessorGraph, 400},
    {opt::StartValue253, -1},
    {opt::PingStatusColour, 255},
    {opt::MaxPings, 1024},
    {opt::StartValue272, 60},
    {opt::PingTimeout, 5000},
    {opt::StartValue279, 10},
    {opt::StartValue280, 25},
    {opt::PingListBackColour, 0xF0F0F0},
    {opt::StartValue288, 100},
    {opt::SlowResponseChoice, 1},
    {opt::StartValue293, 7},
    {opt::StartValue298, -1},
    {opt::StartValue299, -1},
    // Mini-window size while it shows the start-up progress.
    {opt::MiniWidth, 234},
    {opt::MiniHeight, 7 * 12},
};

// The first ping cycle may start this long after start-up.
constexpr int64_t kFirstPingDelaySeconds = 30;

constexpr int32_t kGraphColours[] = {0x3C14DC, 0xCC3399, 0xCC6600, 0x009966,
                                     0x0080FF, 0x006699, 0x808040, 0x408000};

}  // namespace

void ApplyDefaults(Settings& settings, int logicalProcessorCount, int64_t now) {
  settings.Clear();
  for (const int flag : kFlagsOn)
    settings.Set(flag, 1);
  for (const Default& entry : kDefaults)
    settings.Set(entry.Index, entry.Value);
  for (size_t i = 0; i < std::size(kGraphColours); ++i) {
    settings.Set(opt::FirstGraphColour + static_cast<int>(i), kGraphColours[i]);
  }
  settings.Set(opt::ProcessorCount, std::clamp(logicalProcessorCount, 1, kMaxShownProcessors));
  settings.Set(opt::NextPingTime, static_cast<int32_t>(now + kFirstPingDelaySeconds));
}

}  // namespace tarvik
