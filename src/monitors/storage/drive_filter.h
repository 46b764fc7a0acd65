#pragma once

#include <string>
#include <vector>

#include "monitors/storage/drive_record.h"

namespace tarvik {

// The drive the user chose to follow, as the settings keep it: its index (0 for every drive) and
// its volume serial, which finds a stick again under another letter.
struct FollowedDriveChoice {
  int Index = 0;
  std::wstring Serial;
};

// The drive filter selector's items: "Show ALL Active Drives", then one item per present drive
// that has a row, in letter order ("Filter C:   465.8G (1A2B-3C4D) Local Drive: System");
// DriveOfItem holds each item's drive index (0 for all drives). The chosen drive is selected
// again: first the drive with its volume serial, else the drive at its index, else all drives.
// Letters holds the letters of the drives that can be filtered.
struct DriveFilter {
  std::vector<std::wstring> Items;
  std::vector<int> DriveOfItem;
  int Selected = 0;
  std::wstring Letters;
  // The drive whose changes the drive-change list shows now (0 every drive), and the choice to
  // keep: the chosen drive where it is now, or, while it is away, the choice as it was, so that
  // it is followed again when it comes back.
  int Followed = 0;
  FollowedDriveChoice Remembered;
};

// `typeNames` are the translated names of the drive kinds, indexed by kind.
[[nodiscard]] DriveFilter BuildDriveFilter(const DriveTable& table,
                                           const FollowedDriveChoice& chosen,
                                           const std::vector<std::wstring>& typeNames);

// The choice that following `drive` (0 every drive) of the table makes.
[[nodiscard]] FollowedDriveChoice ChoiceOf(const DriveTable& table, int drive);

}  // namespace tarvik
