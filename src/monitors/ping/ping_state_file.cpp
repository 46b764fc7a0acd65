#include "monitors/ping/ping_state_file.h"

#include <string_view>
#include <utility>

#include "core/backed_up_write.h"
#include "monitors/ping/ping_list_json.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr std::wstring_view kFileExtension = L".json";

std::wstring WithExtension(const std::wstring& path, std::wstring_view extension) {
  std::wstring changed = path;
  if (changed.ends_with(kFileExtension))
    changed.resize(changed.size() - kFileExtension.size());
  return changed + std::wstring(extension);
}

std::wstring FileName(const std::wstring& path) {
  return path.substr(path.find_last_of(L"\\/") + 1);
}

// What one copy of the list on disk holds: Partial when it read with hosts or values left out.
enum class CopyState { Missing, Empty, Readable, Partial, Refused, Unreadable };

struct Copy {
  CopyState State = CopyState::Missing;
  PingListReading Reading;
  std::string Bytes;  // what a partial or refused copy holds
};

Copy Examine(platform::FileSystem& files, const std::wstring& path) {
  std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) {
    // A file that is there but cannot be read is not taken for a missing one.
    if (!files.FileExists(path))
      return {};
    return {CopyState::Unreadable, {}, {}};
  }
  if (bytes->empty())
    return {CopyState::Empty, {}, {}};
  PingListReading reading = ReadPingListJson(*bytes);
  if (reading.Fault == PingListFault::None && !reading.Lossy())
    return {CopyState::Readable, std::move(reading), {}};
  // One that gave no host at all is no list: the backup, if any, stands in for it.
  const bool partial = reading.Fault == PingListFault::None && !reading.Hosts.empty();
  const CopyState state = partial ? CopyState::Partial : CopyState::Refused;
  return {state, std::move(reading), std::move(*bytes)};
}

// What was wrong with a copy that did not read whole: how many hosts were left out, else that
// values were.
std::wstring FaultText(const PingListReading& reading) {
  if (reading.Fault == PingListFault::Damaged)
    return Tr(L"Ping list file damaged");
  if (reading.HostsLeftOut > 0) {
    return std::to_wstring(reading.HostsLeftOut) + L" " +
           Tr(reading.HostsLeftOut == 1 ? L"host left out of the ping list file"
                                        : L"hosts left out of the ping list file");
  }
  return Tr(L"Ping list file holds invalid values");
}

// A copy of the bytes of a copy that did not read whole, so that the user finds them whatever
// the next save does.
bool KeepOriginal(platform::FileSystem& files, const Copy& copy, const std::wstring& path) {
  const std::wstring refused = PingRefusedPath(path);
  return files.ReadFile(refused) == copy.Bytes || files.WriteFile(refused, copy.Bytes);
}

// What the user is told about such a copy; it names the kept original only when there is one.
std::wstring KeptOriginalText(platform::FileSystem& files, const Copy& copy,
                              const std::wstring& path) {
  if (!KeepOriginal(files, copy, path))
    return FaultText(copy.Reading);
  return FaultText(copy.Reading) + L", " + Tr(L"kept as") + L" " + FileName(PingRefusedPath(path));
}

// A copy that does not read may be the only record of the user's hosts: it is moved out of the
// way instead of being removed, replacing a copy kept so earlier.
bool KeepRefusedCopy(platform::FileSystem& files, const std::wstring& copy,
                     const std::wstring& path) {
  const std::wstring refused = PingRefusedPath(path);
  static_cast<void>(files.RemoveFile(refused));
  return files.RenameFile(copy, refused);
}

void DiscardCopy(platform::FileSystem& files, const std::wstring& copy, const std::wstring& path) {
  const CopyState state = Examine(files, copy).State;
  if (state == CopyState::Refused || state == CopyState::Partial)
    static_cast<void>(KeepRefusedCopy(files, copy, path));
  else
    static_cast<void>(files.RemoveFile(copy));
}

// The copy that could not be read when the list was loaded (the file, or the backup where there
// was no file) may hold the user's list: it makes way as TK-Ping.bad before another is written.
bool KeepUnreadCopy(platform::FileSystem& files, const std::wstring& path,
                    const std::wstring& backup) {
  const std::wstring& unread = files.FileExists(path) ? path : backup;
  return !files.FileExists(unread) || KeepRefusedCopy(files, unread, path);
}

// A file that reads is the last good copy and becomes the backup. Otherwise the backup, if any,
// stays the last good copy, and the file makes way for the new one. False when the file could
// not be moved out of the way.
bool SetAsideLastGoodCopy(platform::FileSystem& files, const std::wstring& path,
                          const std::wstring& backup) {
  const Copy examined = Examine(files, path);
  const CopyState file = examined.State;
  // A file that cannot be read now (another program holds it) is left as it is until a later save.
  if (file == CopyState::Unreadable)
    return false;
  // A file that read only in part is the last good copy too, once its original is kept.
  if (file == CopyState::Partial && !KeepOriginal(files, examined, path))
    return false;
  if (file == CopyState::Readable || file == CopyState::Partial) {
    DiscardCopy(files, backup, path);
    return files.RenameFile(path, backup);
  }
  if (Examine(files, backup).State == CopyState::Refused && !KeepRefusedCopy(files, backup, path))
    return false;
  if (file == CopyState::Refused)
    return KeepRefusedCopy(files, path, path);
  if (file == CopyState::Empty)
    static_cast<void>(files.RemoveFile(path));
  return true;
}

}  // namespace

std::wstring PingBackupPath(const std::wstring& path) {
  return WithExtension(path, L".bak");
}

std::wstring PingRefusedPath(const std::wstring& path) {
  return WithExtension(path, L".bad");
}

PingLoadResult LoadPingList(platform::FileSystem& files, const std::wstring& path) {
  Copy file = Examine(files, path);
  if (file.State == CopyState::Readable)
    return {PingLoadOutcome::Loaded, std::move(file.Reading.Hosts), {}};
  if (file.State == CopyState::Partial) {
    std::wstring reason = KeptOriginalText(files, file, path);
    return {PingLoadOutcome::Loaded, std::move(file.Reading.Hosts), std::move(reason)};
  }
  Copy backup = file.State == CopyState::Unreadable ? Copy{CopyState::Unreadable, {}, {}}
                                                    : Examine(files, PingBackupPath(path));
  if (file.State == CopyState::Unreadable ||
      (file.State != CopyState::Refused && backup.State == CopyState::Unreadable)) {
    return {PingLoadOutcome::Unreadable,
            {},
            Tr(L"Ping list file could not be read"),
            PingFileStanding::Unreadable};
  }
  // A refused file is the one the user is told about; else a backup that read only in part.
  const Copy& faulty = file.State == CopyState::Refused ? file : backup;
  std::wstring reason;
  if (faulty.State == CopyState::Refused || faulty.State == CopyState::Partial)
    reason = KeptOriginalText(files, faulty, path);
  if (backup.State == CopyState::Readable || backup.State == CopyState::Partial)
    return {PingLoadOutcome::Loaded, std::move(backup.Reading.Hosts), std::move(reason)};
  if (reason.empty())
    return {PingLoadOutcome::NoFile, {}, {}};
  return {PingLoadOutcome::Refused, {}, std::move(reason)};
}

// The list is never only in memory while the file is rewritten, and a file that does not read is
// never lost:
//  1. The last good copy is set aside as the backup (see SetAsideLastGoodCopy).
//  2. The new file is written and read back. When it reads back as written the backup goes;
//     otherwise the new file goes and the backup takes the file's name again.
// Cut off at any step, the next start reads the file or, where that does not read, the backup,
// and finds either the old list or the new one. When the user emptied the list, the backup goes
// first, then the file, so that no older list comes back at the next start; any other empty list
// (one never read, or one the files did not give) leaves them as they are.
bool SavePingList(const PingList& hosts, PingFileStanding& standing, platform::FileSystem& files,
                  const std::wstring& path) {
  const std::wstring backup = PingBackupPath(path);
  if (hosts.empty()) {
    if (standing == PingFileStanding::Emptied) {
      DiscardCopy(files, backup, path);
      DiscardCopy(files, path, path);
    }
    return false;
  }
  if (standing == PingFileStanding::Unread)
    return false;
  if (standing == PingFileStanding::Unreadable) {
    if (!KeepUnreadCopy(files, path, backup))
      return false;
    standing = PingFileStanding::Read;
  }
  if (!SetAsideLastGoodCopy(files, path, backup))
    return false;
  return WriteOverBackup(files, path, backup, PingListJson(hosts));
}

}  // namespace tarvik
