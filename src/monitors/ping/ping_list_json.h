#pragma once

#include <string>
#include <string_view>

#include "monitors/ping/ping_host.h"

namespace tarvik {

// Why a ping state file's text was not taken.
enum class PingListFault {
  None,
  Damaged,       // not JSON, or cut off
  WrongValue,    // not an array of hosts, or a member of the wrong type or out of range
  TooManyHosts,  // more than kMaxPingHosts hosts
};

struct PingListReading {
  PingListFault Fault = PingListFault::None;
  PingList Hosts;  // empty unless Fault is None
};

// The ping list as the state file holds it: a JSON array with one object per host, members in
// the record's order, the history "PV" as objects with "S" and "T", one sample per line.
[[nodiscard]] std::string PingListJson(const PingList& hosts);

// Reads the array PingListJson writes, with any spacing. Members map to fields by name; a missing
// member leaves the record's default, an unknown one is passed over. A host keeps its newest
// kMaxSamples samples. Anything else that is not as written refuses the whole text.
[[nodiscard]] PingListReading ReadPingListJson(std::string_view bytes);

}  // namespace tarvik
