#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The drive filter is a volume serial, "XXXX-XXXX"; the adapter filter a hardware address,
// "XX:XX:XX:XX:XX:XX", both in hexadecimal digits. A text of another shape is dropped.
[[nodiscard]] std::wstring CheckedDriveFilter(std::wstring_view text);
[[nodiscard]] std::wstring CheckedAdapterFilter(std::wstring_view text);

// What the settings file holds: nothing for an empty, all-zero or misshapen filter.
[[nodiscard]] std::wstring DriveFilterToWrite(std::wstring_view filter);
[[nodiscard]] std::wstring AdapterFilterToWrite(std::wstring_view filter);

}  // namespace tarvik
