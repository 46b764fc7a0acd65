#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/settings.h"
#include "monitors/storage/drive_record.h"
#include "platform/drives.h"

namespace tarvik {

struct DriveScanPorts {
  platform::Drives& Drives;
  // The build number, whether the network provider library is there (mapped drives then show
  // their remote path) and the stop flag.
  const Settings& Options;
  // One line for the drive events list (list 131), in the order the lines are written (the list
  // puts each new line on top; an empty line closes a block).
  std::function<void(const std::wstring& line)> AddDriveEvent;
  // One StMon record's fields (the log book stamps it); the caller decides whether logging is on.
  std::function<void(const std::wstring& record)> LogRecord;
};

// The letters of the present drives in the system's order, "" while shutting down. Systems
// before build 1504 list A: and B: whether or not a floppy drive is there, so those are left
// out; when the system gives no list, every letter from C to Z is tried.
[[nodiscard]] std::wstring PresentDrivesText(platform::Drives& drives, const Settings& options);

// Which drives a scan reads. `Every` listed drive (the first scan, F5 and F6); or only those whose
// volume can be other than the table knows (`Changed`): a drive new to the table, one whose type
// changed, one that did not answer and one marked `AskAgain`. The others keep their last reading:
// the poll reads their label, media and space at its own pace.
enum class ScanScope { Every, Changed };

// Classifies every letter, reads its label, serial and space, reports the drives found and lost
// (and those whose type turned undetermined), finds the letters that are the same volume as an
// earlier one, and numbers the rows of the drive list: fixed drives, the summary row after two
// or more of them, then removable, RAM disk, optical and remote drives.
void ScanDrives(DriveTable& table, const std::wstring& presentLetters, DriveScanPorts& ports,
                ScanScope scope = ScanScope::Every);

// One read of a drive's volume information, its texts cleaned and cut as the record keeps them.
// A volume without media reads as serial "0000-0000" with no label; `Answered` is false when the
// drive did not answer in time, and then the read tells nothing about its media. A removable or
// optical drive's space is read with it: a medium whose space cannot be read counts as none.
struct VolumeReading {
  bool Answered = true;
  std::wstring Serial;
  std::wstring Label;
  std::wstring FileSystem;
  int MaxFileNameLength = 0;
  bool ReadOnly = false;
  std::optional<platform::DriveSpace> Space;
};
[[nodiscard]] VolumeReading ReadVolumeOf(const DriveRecord& drive, DriveScanPorts& ports);

// Stores a reading in the record (label, file system, maximum name length, serial, read-only);
// with `checkLabel` and media present, a label other than the remembered one is reported as a
// "Volume name changed" block and a "*" record.
void StoreVolume(DriveRecord& drive, const VolumeReading& reading, DriveScanPorts& ports,
                 bool checkLabel);

// Reads and stores the volume information of one drive and returns its serial text.
std::wstring ReadVolume(DriveRecord& drive, DriveScanPorts& ports, bool checkLabel);

// A removable or optical drive whose medium changed takes the new one over at once: its volume,
// its name ("No Media / Blank", "Audio: 12 Tracks") and its space; the next label check takes
// the new medium's label without telling a rename.
void TakeMedium(DriveRecord& drive, const VolumeReading& reading, DriveScanPorts& ports);

// The space of a drive as the table keeps it: the free bytes within 0 and the total, whatever
// the volume reported; none when it could not be read.
[[nodiscard]] std::optional<platform::DriveSpace> ReadDriveSpace(platform::Drives& drives,
                                                                 const std::wstring& driveName);

// FreePercent: available x 100 / total, truncated, kept within 0 to 100; 0 without a total.
[[nodiscard]] int FreePercentOf(int64_t available, int64_t total);

// What NetworkPath holds for the answer to asking for a mapped drive's remote name.
[[nodiscard]] std::wstring NetworkPathText(const platform::NetworkConnection& connection);

}  // namespace tarvik
