#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The entries of a selector and the one it shows; -1 when none is.
struct SelectorEntries {
  std::vector<std::wstring> Items;
  int Selected = -1;
};

// The "Long Idle" selector's entries from the comma-separated minutes list: "1 Minute",
// "2 Hours" and so on, ending at the first value below 1, which reads "Disabled". The entry
// for `defaultMinutes` is marked " (Default)" and selected.
[[nodiscard]] SelectorEntries LongIdleEntries(std::wstring_view minutesList, int defaultMinutes);

// The nine mini-window title-bar modes, "Show Drives (Default)" first; the first is selected.
[[nodiscard]] SelectorEntries TitleBarEntries();

// The entry a stored choice selects; a choice outside the entries keeps the current selection.
[[nodiscard]] int SelectedEntry(const SelectorEntries& entries, int choice);

}  // namespace tarvik
