#pragma once

#include <string>
#include <vector>

#include "monitors/network/adapter_record.h"
#include "text/date_format.h"

namespace tarvik {

// The lines of one adapter in the network information list, top to bottom: an empty line, the
// heading with tag, interface index and time, the description, then what its interface row and
// the adapter list tell, each value line left out when it says nothing.
[[nodiscard]] std::vector<std::wstring> AdapterBlockLines(const AdapterRecord& adapter,
                                                          DateValue now);

}  // namespace tarvik
