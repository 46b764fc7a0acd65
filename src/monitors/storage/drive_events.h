#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "monitors/storage/drive_record.h"

namespace tarvik {

// Every text the drives give the drive events list (131), the drive-change list (137) and the
// log's `StMon` and `Drive` records. Lines come in the order they are written; the events list
// puts each new line on top, and the empty last line of a block closes it.

enum class DriveReport { Found, Lost, Error };

// The names by drive type (0-6) that the drive filter and the panels show.
[[nodiscard]] std::array<std::wstring, 7> DriveTypeNames();
// The drive type as the found block's type line names it ("Fixed Drive").
[[nodiscard]] std::wstring DriveKindName(DriveKind kind);

// The block of a drive found or lost: used and free space, total, label, type line, the found
// or lost line, the closing empty line. A drive whose type became undetermined (an error) has
// only its label, the error line and the closing line.
[[nodiscard]] std::vector<std::wstring> DriveReportLines(const DriveRecord& drive,
                                                         DriveReport report);
// "E+ 1A2B-3C4D 1000 4000 USB" ("-" for a lost drive); an error has none.
[[nodiscard]] std::wstring DriveReportRecord(const DriveRecord& drive, DriveReport report);

// The block of a relabelled volume and its "*" record; the labels are shown trimmed.
[[nodiscard]] std::vector<std::wstring> LabelChangeLines(const DriveRecord& drive,
                                                         const std::wstring& oldLabel,
                                                         const std::wstring& newLabel);
[[nodiscard]] std::wstring LabelChangeRecord(const DriveRecord& drive, const std::wstring& oldLabel,
                                             const std::wstring& newLabel);

// The block of a volume whose total size changed (the drive still holds the old total) and its
// "!" record; the three byte counts are right-aligned to the digits of the larger total.
[[nodiscard]] std::vector<std::wstring> TotalChangeLines(const DriveRecord& drive,
                                                         int64_t newTotal);
[[nodiscard]] std::wstring TotalChangeRecord(const DriveRecord& drive, int64_t newTotal);

// The block of a drive that fell short of space: its free and total space, its label, then
// "E: low on space (4%)." with ", full in about 3 h" before the stop when its trend tells; and its
// "<" record, which reads like a found drive's.
[[nodiscard]] std::vector<std::wstring> LowSpaceLines(const DriveRecord& drive);
[[nodiscard]] std::wstring LowSpaceRecord(const DriveRecord& drive);
// "full in about 3 h"; empty for 0 (unknown).
[[nodiscard]] std::wstring FullInText(int hours);

// The `Drive` record of a change of free space: "C: 45 1000 3000 -512".
[[nodiscard]] std::wstring DriveSpaceRecord(const DriveRecord& drive);
// The drive-change list's line: name, free percent and space, difference, sum of differences,
// used percent and space, separated by line feeds. Sizes are in mode 2, or in the unit that the
// storage unit option fixes when one is chosen (0 is Auto).
[[nodiscard]] std::wstring DriveChangeLine(const DriveRecord& drive, int storageUnit);

}  // namespace tarvik
