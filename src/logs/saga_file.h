#pragma once

#include <array>
#include <string>

#include "logs/event_lists.h"
#include "platform/files.h"

namespace tarvik {

// The header texts the event lists show, in the order of EventListId, as translated for the
// window; an empty text for a list without a header.
using EventListHeaders = std::array<std::wstring, kEventListCount>;

// The events file's backup: "TK-Saga.bak" beside "TK-Saga.json".
[[nodiscard]] std::wstring SagaBackupPath(const std::wstring& path);

// Writes the event lists to the events file (TK-Saga.json) while "Restore previous session
// events on startup" is on. True when a file was written; false when there was nothing to save
// (the old file is then removed) or the file could not be written.
[[nodiscard]] bool SaveEvents(const EventLists& lists, platform::FileSystem& files,
                              const std::wstring& path, const EventListHeaders& headers);

// Puts the events of the last run back into the lists while restoring is on; reads the backup
// when the file itself does not read. True when events were read.
[[nodiscard]] bool RestoreEvents(EventLists& lists, platform::FileSystem& files,
                                 const std::wstring& path, const EventListHeaders& headers);

}  // namespace tarvik
