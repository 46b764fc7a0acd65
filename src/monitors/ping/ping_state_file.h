#pragma once

#include <string>

#include "monitors/ping/ping_host.h"
#include "monitors/ping/ping_list_state.h"
#include "platform/files.h"

namespace tarvik {

enum class PingLoadOutcome { Loaded, NoFile, Refused, Unreadable };

struct PingLoadResult {
  PingLoadOutcome Outcome = PingLoadOutcome::NoFile;
  PingList Hosts;  // the list read when Loaded, else empty
  // What was wrong with a file, translated: when it was refused or could not be read, and when
  // the list was read from the backup beside such a file (the remains of a save cut off by a
  // crash). Where it names TK-Ping.bad, the copy is there.
  std::wstring Reason;
  // Unreadable after a file that could not be read, else Read.
  PingFileStanding Standing = PingFileStanding::Read;
};

// The ping state file's backup: "TK-Ping.bak" beside "TK-Ping.json".
[[nodiscard]] std::wstring PingBackupPath(const std::wstring& path);
// Where a ping state file that does not read is kept instead of being overwritten:
// "TK-Ping.bad" beside "TK-Ping.json".
[[nodiscard]] std::wstring PingRefusedPath(const std::wstring& path);

// Reads the ping list from the state file, or from its backup when the file is missing, empty or
// does not read. A file that is refused gets a copy under PingRefusedPath, so that the reason
// can say it is kept there; nothing else is changed. A file that is there but cannot be read (a
// sharing lock) is Unreadable, whatever the backup holds.
[[nodiscard]] PingLoadResult LoadPingList(platform::FileSystem& files, const std::wstring& path);

// Writes the list to the state file, as far as `standing` allows. True when a file was written;
// false for an empty list (the file and its backup are removed only when the user emptied a list
// read from them, so the next start begins empty), a list that was never read, or a failed write
// (the previous file stays). A file there that does not read, or that could not be read when the
// list was loaded, is never removed or overwritten: it is moved to PingRefusedPath, replacing an
// older one, and the standing then becomes Read.
[[nodiscard]] bool SavePingList(const PingList& hosts, PingFileStanding& standing,
                                platform::FileSystem& files, const std::wstring& path);

}  // namespace tarvik
