#pragma once

#include <string>
#include <string_view>

#include "monitors/ping/ping_host.h"

namespace tarvik {

// Why a ping state file's text was not taken at all.
enum class PingListFault {
  None,
  Damaged,     // not JSON, or cut off
  WrongValue,  // not an array of hosts
};

struct PingListReading {
  PingListFault Fault = PingListFault::None;
  PingList Hosts;         // the hosts that read; empty unless Fault is None
  int HostsLeftOut = 0;   // hosts that could not be taken (no address, a second copy, past 1024)
  bool Repaired = false;  // a value was out of range, of the wrong kind, or a sample was left out

  // The text did not come back whole: the caller keeps the original.
  [[nodiscard]] bool Lossy() const { return HostsLeftOut > 0 || Repaired; }
};

// The ping list as the state file holds it: a JSON array with one object per host, members in
// the record's order, the history "PV" as objects with "S" and "T", one sample per line.
[[nodiscard]] std::string PingListJson(const PingList& hosts);

// Reads the array PingListJson writes, with any spacing and a UTF-8 byte-order mark, and whatever
// a hand edit or damage made of it: members map to fields by name; a missing member leaves the
// record's default and an unknown one is passed over; a value out of range is brought into it,
// a fraction is cut off, a value of the wrong kind is left out; a host takes its address value
// from its dotted address (or the other way round); a sample that is not one the program writes
// is left out, and a host keeps its newest kMaxSamples samples. A host without an address, one
// whose address is already in the list and any past the 1024th are left out. Only a text that is
// not JSON, or not an array, is refused as a whole.
[[nodiscard]] PingListReading ReadPingListJson(std::string_view bytes);

}  // namespace tarvik
