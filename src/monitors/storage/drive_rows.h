#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "monitors/storage/drive_record.h"
#include "platform/colour.h"

namespace tarvik {

// Rebuilds the row text, list text and text colour of drive `index` (1-26) from its record, and
// its free percentage. The row starts with the letter, the alias letters and the mark, padded to
// the largest alias count + 2; then comes one of four forms: a removable or optical drive without
// media shows its label and free size, an audio CD its label and playing time, a mapped drive
// without space its remote path (in the path colour), any other drive its free percentage, free
// size, a change column chosen by its fade level, and its used size. Sizes take the unit of the
// storage unit option; Auto picks one per size. Another index changes nothing.
void RebuildDriveRow(DriveTable& table, int index, const Settings& options);

// Row 0, the summary: "==" padded with "=", then the sums of the present fixed drives (an alias
// of another drive is the same volume and is counted once) shown like an ordinary drive.
void RebuildSummaryRow(DriveTable& table, const Settings& options);

// The rows the Storage tab's copy holds, in display order, with their colours; each text holds
// the five columns (drive, free, last change, total change, used) separated by line feeds, and a
// sixth while a drive is short of space: "full in about 3 h" (the summary row names the drive
// that will be full first).
struct DriveListRow {
  int Index;
  std::wstring Text;
  Colour TextColour;
  Colour BackColour;
};
[[nodiscard]] std::vector<DriveListRow> DriveListRows(const DriveTable& table);

// The level colour of a free percentage: below 5 % critical (palette entry 12), 5-9 % low
// (entry 14), otherwise normal (entry 7).
[[nodiscard]] Colour LevelColour(int freePercent);

// W3C's contrast ratio of two colours, 1 (the same brightness) to 21 (black on white).
[[nodiscard]] double ContrastRatio(Colour first, Colour second);
// `text` where it reads on `back` (a contrast of 3 or more), else black or white, whichever
// reads better: a highlight's back colour never hides the row.
[[nodiscard]] Colour ReadableTextColour(Colour text, Colour back);

}  // namespace tarvik
