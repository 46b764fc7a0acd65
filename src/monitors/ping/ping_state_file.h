#pragma once

#include <string>

#include "monitors/ping/ping_host.h"
#include "platform/files.h"

namespace tarvik {

enum class PingLoadOutcome { Loaded, NoFile, Refused };

struct PingLoadResult {
  PingLoadOutcome Outcome = PingLoadOutcome::NoFile;
  PingList Hosts;  // the list read when Loaded, else empty
  // What was wrong with a file that did not read and where it is kept, translated: when Refused,
  // and when Loaded from the backup beside such a file (the remains of a save cut off by a crash).
  std::wstring Reason;
};

// The ping state file's backup: "TK-Ping.bak" beside "TK-Ping.json".
[[nodiscard]] std::wstring PingBackupPath(const std::wstring& path);
// Where a ping state file that does not read is kept instead of being overwritten:
// "TK-Ping.bad" beside "TK-Ping.json".
[[nodiscard]] std::wstring PingRefusedPath(const std::wstring& path);

// Reads the ping list from the state file, or from its backup when the file is missing, empty or
// does not read. Changes no file. Refused when a file is there but neither reads: the caller
// keeps its list, and the next save keeps the refused file under PingRefusedPath.
[[nodiscard]] PingLoadResult LoadPingList(platform::FileSystem& files, const std::wstring& path);

// Writes the list to the state file. True when a file was written; false for an empty list (the
// file and its backup are removed, so the next start begins empty) or a failed write (the
// previous file stays). A file there that does not read is never removed or overwritten: it is
// moved to PingRefusedPath, replacing an older one.
[[nodiscard]] bool SavePingList(const PingList& hosts, platform::FileSystem& files,
                                const std::wstring& path);

}  // namespace tarvik
