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

// What one copy of the list on disk holds.
enum class CopyState { Missing, Empty, Readable, Refused };

struct Copy {
  CopyState State = CopyState::Missing;
  PingListReading Reading;
};

Copy Examine(platform::FileSystem& files, const std::wstring& path) {
  const std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) {
    // A file that is there but cannot be read is not taken for a missing one.
    if (!files.FileExists(path))
      return {};
    return {CopyState::Refused, {PingListFault::Damaged, {}}};
  }
  if (bytes->empty())
    return {CopyState::Empty, {}};
  PingListReading reading = ReadPingListJson(*bytes);
  const CopyState state =
      reading.Fault == PingListFault::None ? CopyState::Readable : CopyState::Refused;
  return {state, std::move(reading)};
}

std::wstring FaultText(PingListFault fault) {
  switch (fault) {
    case PingListFault::TooManyHosts:
      return Tr(L"Ping list file holds too many hosts");
    case PingListFault::WrongValue:
      return Tr(L"Ping list file holds invalid values");
    default:
      return Tr(L"Ping list file damaged");
  }
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
  if (Examine(files, copy).State == CopyState::Refused)
    static_cast<void>(KeepRefusedCopy(files, copy, path));
  else
    static_cast<void>(files.RemoveFile(copy));
}

// A file that reads is the last good copy and becomes the backup. Otherwise the backup, if any,
// stays the last good copy, and the file makes way for the new one. False when the file could
// not be moved out of the way.
bool SetAsideLastGoodCopy(platform::FileSystem& files, const std::wstring& path,
                          const std::wstring& backup) {
  const CopyState file = Examine(files, path).State;
  if (file == CopyState::Readable) {
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
  Copy backup = Examine(files, PingBackupPath(path));
  const Copy& refused = file.State == CopyState::Refused ? file : backup;
  std::wstring reason;
  if (refused.State == CopyState::Refused) {
    reason = FaultText(refused.Reading.Fault) + L", " + Tr(L"kept as") + L" " +
             FileName(PingRefusedPath(path));
  }
  if (backup.State == CopyState::Readable)
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
// and finds either the old list or the new one. With nothing to save the backup goes first, then
// the file, so that no older list comes back at the next start.
bool SavePingList(const PingList& hosts, platform::FileSystem& files, const std::wstring& path) {
  const std::wstring backup = PingBackupPath(path);
  if (hosts.empty()) {
    DiscardCopy(files, backup, path);
    DiscardCopy(files, path, path);
    return false;
  }
  if (!SetAsideLastGoodCopy(files, path, backup))
    return false;
  return WriteOverBackup(files, path, backup, PingListJson(hosts));
}

}  // namespace tarvik
