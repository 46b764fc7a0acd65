#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvik::platform {

// What a volume says of itself; a drive without media (or one that does not answer) has none.
struct VolumeInformation {
  std::wstring Label;
  uint32_t Serial = 0;
  std::wstring FileSystem;
  uint32_t MaxFileNameLength = 0;
  bool ReadOnly = false;  // a pressed disc, a write-protected card: its space can never grow short
};

struct DriveSpace {
  int64_t Available = 0;  // free bytes available to this user
  int64_t Total = 0;
};

// The remote name of a mapped network drive, or the error code that asking for it gave.
struct NetworkConnection {
  uint32_t Error = 0;
  std::wstring RemoteName;
};

// An audio CD's tracks and playing time; none when the drive holds no audio CD.
struct AudioDisc {
  int Tracks = 0;
  int Seconds = 0;
};

// The read and write time counters of the first physical disk.
struct DiskActivity {
  int64_t ReadTime = 0;
  int64_t WriteTime = 0;
};

// The drives of the machine. A call about one drive may wait as long as that drive takes to
// answer (an offline network share, a dying stick): callers hold no shared lock across it.
class Drives {
 public:
  virtual ~Drives() = default;

  // The first letters of the root strings the system lists, in its order ("CDZ"); none when the
  // list could not be had.
  [[nodiscard]] virtual std::optional<std::wstring> PresentLetters() = 0;
  // The drive type of "C:": 0 undetermined, 1 no root, 2 removable, 3 fixed, 4 remote,
  // 5 optical, 6 RAM disk.
  [[nodiscard]] virtual int DriveType(const std::wstring& driveName) = 0;
  // Of the root "C:\".
  [[nodiscard]] virtual std::optional<VolumeInformation> Volume(const std::wstring& root) = 0;
  [[nodiscard]] virtual std::optional<DriveSpace> Space(const std::wstring& driveName) = 0;
  // `length` is the name buffer's length handed to the system, in characters.
  [[nodiscard]] virtual NetworkConnection Connection(const std::wstring& driveName,
                                                     uint32_t length) = 0;
  [[nodiscard]] virtual std::optional<AudioDisc> Audio(const std::wstring& driveName) = 0;
  // Whether the last call about the drive came back without its answer because the wait for it
  // ran out: a caller that bounds its waits says so here; the system's own calls wait for every
  // answer. Such a call's failure tells nothing about the drive's media.
  [[nodiscard]] virtual bool Unanswered(const std::wstring& /*driveName*/) const { return false; }

  // The first physical disk, opened while the tray's activity indicator is on.
  [[nodiscard]] virtual bool OpenFirstDisk() = 0;
  virtual void CloseFirstDisk() = 0;
  [[nodiscard]] virtual std::optional<DiskActivity> FirstDiskActivity() = 0;
};

}  // namespace tarvik::platform
