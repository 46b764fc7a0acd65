#pragma once

#include "core/guarded.h"
#include "monitors/ping/ping_host.h"

namespace tarvik {

// How the list in memory stands to the state files on disk; it decides what a save may do to
// them, so that no save can cost the user a list that was never read.
enum class PingFileStanding {
  Unread,      // the files have not been read (the program stopped first): saves leave them alone
  Read,        // the list came from the files, or there were none: a save with hosts replaces them
  Emptied,     // the user emptied a list that came from the files: a save removes them
  Unreadable,  // a file there could not be read: it makes way as TK-Ping.bad before one is written
};

// The ping list, shared by the coordinator (its only writer) and the end-of-run save.
struct PingListState {
  PingList Hosts;
  PingFileStanding Standing = PingFileStanding::Unread;
};
using SharedPingList = Guarded<PingListState>;

}  // namespace tarvik
