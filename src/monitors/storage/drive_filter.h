#pragma once

#include <string>
#include <vector>

#include "monitors/storage/drive_record.h"

namespace tarvik {

// The drive filter selector's items: "Show ALL Active Drives", then one item per present drive
// that has a row, in letter order ("Filter C:   465.8G (1A2B-3C4D) Local Drive: System");
// DriveOfItem holds each item's drive index (0 for all drives). The drive followed before is
// selected again: first the drive with its volume serial, else the drive at its index, else all
// drives. Letters holds the letters of the drives that can be filtered.
struct DriveFilter {
  std::vector<std::wstring> Items;
  std::vector<int> DriveOfItem;
  int Selected = 0;
  std::wstring Letters;
};

// `typeNames` are the translated names of the drive kinds, indexed by kind.
[[nodiscard]] DriveFilter BuildDriveFilter(const DriveTable& table,
                                           const std::wstring& followedSerial, int followedIndex,
                                           const std::vector<std::wstring>& typeNames);

}  // namespace tarvik
