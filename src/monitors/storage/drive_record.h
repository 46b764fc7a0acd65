#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/palette.h"
#include "platform/colour.h"

namespace tarvik {

enum class DriveState : int { NeverSeen = 0, Present = 1, Lost = 2 };

// The drive types the system reports.
enum class DriveKind : int {
  Undetermined = 0,
  NoRoot = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  Optical = 5,
  RamDisk = 6
};

// A drive row's colours while nothing marks it: the level colours of the text (silver, red for
// critical, yellow for low, magenta for a network path) read on black, and so do the text on
// the dark steps that a highlight fades through.
inline constexpr Colour kDriveNormalText = kPalette[0];
inline constexpr Colour kDriveNormalBack = kPalette[0];

// The serial a volume without media reads as.
inline constexpr const wchar_t* kNoMediaSerial = L"0000-0000";

// How often each drive event happened to a letter since the program started; a lost drive keeps
// its counts.
struct DriveEventTally {
  int64_t Found = 0;
  int64_t Lost = 0;
  int64_t Relabelled = 0;
  int64_t MediaChanged = 0;
};

// One drive letter's record; index 0 of the table is the drive list's summary row.
struct DriveRecord {
  DriveState State = DriveState::NeverSeen;
  int DisplayOrder = 0;  // row position in the drive list; 0 = not shown
  Colour TextColour = 0x000000;
  Colour BackColour = kDriveNormalBack;
  std::wstring RowText;        // one line: what the mini window's drive cell shows
  std::wstring ListText;       // the drive list's columns, separated by line feeds
  int HighlightCountdown = 0;  // storage-monitor polls before a highlight reverts
  int FadeLevel = 0;           // palette index of the fading highlight
  std::wstring ShortName;      // letter and mark
  std::wstring Mark;           // ":" fixed, removable and optical; "$" remote; "r" RAM disk
  std::wstring DriveName;      // "C:"
  std::wstring Letter;         // "C"
  DriveKind Kind = DriveKind::Undetermined;
  int AliasOf = 0;            // index of an earlier drive that is the same volume
  std::wstring AliasLetters;  // later drives that are the same volume as this one
  int AliasCount = 0;
  int64_t BytesAvailable = 0;
  int64_t BytesTotal = 0;
  int FreePercent = 0;
  int64_t BytesDiff = 0;     // the last change of the available bytes
  int64_t BytesDiffSum = 0;  // every change since the last reset
  std::wstring VolumeName;
  std::wstring PreviousVolumeName;
  std::wstring VolumeSerial;  // "1A2B-3C4D", high half first
  std::wstring PreviousVolumeSerial;
  std::wstring FileSystem;
  std::wstring NetworkPath;  // remote name of a mapped drive, or the error's name
  int MaxFileNameLength = 0;
  int AudioTracks = 0;  // an audio CD's tracks and playing time
  int AudioSeconds = 0;
  bool ReadOnly = false;      // a pressed disc or a locked card: never short of space
  bool NotAnswering = false;  // its last call got no answer in time; it keeps what it showed
  bool AskAgain = false;      // its volume changed under its letter: the next scan reads it anew
  bool LowSpaceTold = false;  // below 5 % free and told so; again only after rising above 7 %
  int FullInHours = 0;        // while low: hours until full by its recent trend; 0 unknown
  DriveEventTally Events;
};

inline constexpr int kDriveRecords = 27;
inline constexpr int kSummaryRow = 0;

// The drives A: (1) to Z: (26) and the summary row (0), with the counters of the last scan.
struct DriveTable {
  std::array<DriveRecord, kDriveRecords> Drives;
  int64_t ScanCount = 0;
  int FixedDrives = 0;
  int AliasedDrives = 0;
  int LargestAliasCount = 0;
  bool ResetDifferences = false;  // the next scan zeroes the differences
  bool NewDriveHighlighted = false;
  int OrderCounter = 0;
  int WaitingDrives = 0;  // listed drives the last scan could not read for want of an answer
};

// A drive whose medium can be taken out: a card reader, a stick's slot, a disc drive.
[[nodiscard]] inline bool HoldsMedia(DriveKind kind) {
  return kind == DriveKind::Removable || kind == DriveKind::Optical;
}

// The used bytes a record shows: what the volume holds beyond its free bytes, never below 0.
[[nodiscard]] inline int64_t UsedBytes(const DriveRecord& drive) {
  return drive.BytesTotal > drive.BytesAvailable ? drive.BytesTotal - drive.BytesAvailable : 0;
}

// The letter of index 1-26 ('A' to 'Z').
[[nodiscard]] inline wchar_t LetterOf(int index) {
  return static_cast<wchar_t>(64 + index);
}

}  // namespace tarvik
