#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "platform/gui.h"

namespace tarvik {

// The Ping tab's gadgets: the entry mode selector, the host entry (a name, or in address mode
// an address with a description beside it), the buttons and choices, the header line and the
// scrolling list of hosts with their timelines.
void BuildPingTab(platform::Gui& gui, const Settings& settings);

// The interval choices' texts ("1 Second", "2 Seconds" … "15 Minutes") and the slow-response
// choices' ("50 ms" … "800 ms"), in the user's language.
[[nodiscard]] std::vector<std::wstring> PingIntervalItems();
[[nodiscard]] std::vector<std::wstring> SlowResponseItems();

// Shows the entry of the chosen mode: in address mode the entry reads "0.0.0.0" and the
// description field is open with its placeholder; in name mode the entry is empty.
void ShowPingEntryMode(platform::Gui& gui, bool addressMode);

}  // namespace tarvik
