#pragma once

#include "monitors/storage/drive_record.h"

namespace tarvik {

// A fixed or removable drive that can be written runs short of space below 5 % free. It is told
// once when it falls short, and again only after it rose above 7 % in between, so a drive that
// hovers about 5 % is not told every few seconds.
inline constexpr int kShortOfSpaceBelowPercent = 5;
inline constexpr int kSpaceRecoveredAbovePercent = 7;

[[nodiscard]] bool CanRunShortOfSpace(const DriveRecord& drive);

// A drive found already short of space counts as told: only a fall is news.
void TakeLowSpaceBaseline(DriveRecord& drive);

// Follows the drive's free percentage; true when it has just fallen short and is to be told now.
[[nodiscard]] bool FellShortOfSpace(DriveRecord& drive);

}  // namespace tarvik
