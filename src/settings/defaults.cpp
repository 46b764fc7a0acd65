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
constexpr int kFlagsOn[] = {opt::AlwaysOnTop,       opt::ExtendedLogBuffering, opt::SingleClickTray,
                            opt::LogStorageEvents,  opt::LogNetworkEvents,     opt::LogDriveSpace,
                            opt::LogSystemEvents,   opt::TrayIconEnabled,      opt::MinimizeToTray};

constexpr Default kDefaults[] = {
    {opt::TextLineHeight, 12}, {opt::CopyRequest, -1}, {opt::HistoryRowLimit, 100}, {45, 1},
    {opt::TransparencyStep, 8}, {51, 80}, {55, 499}, {57, -1}, {opt::LongIdleSeconds, 600},
    {60, 10}, {124, 128}, {134, 128}, {142, -1}, {189, -1}, {190, 800}, {191, 800}, {192, 800},
    {193, 10}, {203, 1}, {204, 1}, {205, 4}, {206, 112}, {207, 878}, {208, 420}, {211, 1},
    {opt::ProcessorColourLast, -1}, {opt::FirstProcessorGraph, 400}, {253, -1}, {267, 255},
    {271, 1024}, {272, 60}, {276, 5000}, {279, 10}, {280, 25}, {287, 0xF0F0F0}, {288, 100},
    {opt::SlowResponseChoice, 1}, {293, 7}, {298, -1}, {299, -1},
    // Mini-window size while it shows the start-up progress.
    {opt::MiniWidth, 234}, {opt::MiniHeight, 7 * 12}};

constexpr int32_t kGraphColours[] = {0x3C14DC, 0xCC3399, 0xCC6600, 0x009966,
                                     0x0080FF, 0x006699, 0x808040, 0x408000};

}  // namespace

void ApplyDefaults(Settings& settings, int logicalProcessorCount, int64_t now) {
  settings.Clear();
  for (const int flag : kFlagsOn) settings.Set(flag, 1);
  for (const Default& entry : kDefaults) settings.Set(entry.Index, entry.Value);
  for (size_t i = 0; i < std::size(kGraphColours); ++i) {
    settings.Set(opt::FirstGraphColour + static_cast<int>(i), kGraphColours[i]);
  }
  settings.Set(opt::ProcessorCount, std::clamp(logicalProcessorCount, 1, kMaxShownProcessors));
  settings.Set(270, static_cast<int32_t>(now + 30));
}

}  // namespace tarvik
