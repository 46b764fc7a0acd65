#include "monitors/storage/low_space.h"

namespace tarvik {

bool CanRunShortOfSpace(const DriveRecord& drive) {
  return (drive.Kind == DriveKind::Fixed || drive.Kind == DriveKind::Removable) &&
         !drive.ReadOnly && drive.BytesTotal > 0;
}

void TakeLowSpaceBaseline(DriveRecord& drive) {
  drive.LowSpaceTold = CanRunShortOfSpace(drive) && drive.FreePercent < kShortOfSpaceBelowPercent;
}

bool FellShortOfSpace(DriveRecord& drive) {
  if (!CanRunShortOfSpace(drive))
    return false;
  if (drive.LowSpaceTold) {
    drive.LowSpaceTold = drive.FreePercent <= kSpaceRecoveredAbovePercent;
    return false;
  }
  drive.LowSpaceTold = drive.FreePercent < kShortOfSpaceBelowPercent;
  return drive.LowSpaceTold;
}

}  // namespace tarvik
