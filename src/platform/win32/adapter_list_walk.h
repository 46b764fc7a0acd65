#pragma once

// The interface-row functions are declared only after the socket address types.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <vector>

#include "platform/network.h"

namespace tarvik::win32 {

// The adapters of a list that GetAdaptersInfo wrote into `buffer` (`size` bytes), found by
// following the list's links, not by dividing the size by the record size: the system puts
// further address entries after the records (Wine gives 736 bytes per adapter). A link that
// leaves the buffer ends the walk.
[[nodiscard]] std::vector<platform::AdapterInfo> WalkAdapterList(const std::byte* buffer,
                                                                 size_t size);

}  // namespace tarvik::win32
