#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace tarvik {

// The last step of rewriting a state file whose last good copy has been set aside as `backup`:
// writes the file and reads it back. When it reads back as written the backup goes; otherwise the
// new file goes and the backup takes the file's name again. True when the file holds the bytes.
[[nodiscard]] bool WriteOverBackup(platform::FileSystem& files, const std::wstring& path,
                                   const std::wstring& backup, std::string_view bytes);

}  // namespace tarvik
