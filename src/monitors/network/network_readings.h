#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitors/network/adapter_record.h"

namespace tarvik {

// The network monitor's latest results, for the window thread: the adapter filter, the graph
// titles and the Networks tab's copy read them.
struct NetworkReadings {
  AdapterTable Adapters;
  int64_t SentKbPerSecond = 0;
  int64_t ReceivedKbPerSecond = 0;
  std::wstring InternetText;
  std::optional<uint32_t> InternetFlags;  // none while the state could not be read
  std::vector<std::wstring> Information;  // the network information list, top to bottom
};

// The Networks tab as text: the Internet state, each adapter's item, an empty line, the information
// list, an empty line, then each network event, every line ending in CR LF.
[[nodiscard]] std::wstring NetworksPanelCopy(const NetworkReadings& readings,
                                             const std::vector<std::wstring>& networkEvents);

}  // namespace tarvik
