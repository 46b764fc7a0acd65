#pragma once

#include <string>
#include <string_view>

#include "monitors/ping/ping_host.h"
#include "text/date_format.h"

namespace tarvik {

// The maker's site, named in the ping log's frame.
inline constexpr std::wstring_view kMakerWebAddress = L"https://www.brimhold.example";

// One host's statistics and full history as the text the user takes from the clipboard, lines
// ending in CRLF. `versionText` is the program's version text ("2.33 x64 426.9423").
[[nodiscard]] std::wstring PingLogText(const PSys& host, DateValue now,
                                       std::wstring_view versionText);

// The ping window's message once the log is on the clipboard.
[[nodiscard]] std::wstring PingLogSavedMessage(const PSys& host);

}  // namespace tarvik
