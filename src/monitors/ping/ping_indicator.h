#pragma once

#include <optional>
#include <string>

namespace tarvik {

// The ping item's up/down text for `up` answering and `down` silent hosts: the fewer digits the
// two counts have together, the more blanks surround them; with more than 6 digits nothing fits
// and the item keeps its text.
[[nodiscard]] std::optional<std::wstring> UpDownIndicatorText(int up, int down);

}  // namespace tarvik
