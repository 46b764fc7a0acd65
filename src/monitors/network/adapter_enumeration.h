#pragma once

#include <string>
#include <vector>

#include "monitors/network/adapter_record.h"
#include "platform/network.h"
#include "text/date_format.h"

namespace tarvik {

// What one enumeration found and has to tell.
struct Enumeration {
  AdapterTable Adapters;
  // The adapters' part of the network information list, top to bottom: the last adapter's
  // block first.
  std::vector<std::wstring> InfoLines;
  std::vector<std::wstring> Events;  // network events, in the order they happened
  int ActiveConnections = 0;         // as last reported
};

// Builds the adapter table from the system's adapter list and interface rows, numbers the
// adapters that carry traffic, and remembers between enumerations what it last reported (the
// addresses per adapter, the count of active connections), so that only changes become events.
class AdapterEnumerator {
 public:
  explicit AdapterEnumerator(platform::Network& network) : network_(network) {}

  [[nodiscard]] Enumeration Enumerate(DateValue now);

  // The external address lookup is wanted: an address or the number of connections changed.
  // Taken by whoever runs the lookup.
  [[nodiscard]] bool TakeLookupRequest();

 private:
  void MatchInterfaceRows(AdapterTable& adapters);
  void NumberMonitoredAdapters(AdapterTable& adapters) const;
  void ReportAddressChanges(const AdapterTable& adapters, Enumeration& result);
  void ReportConnectionCount(int count, Enumeration& result);

  platform::Network& network_;
  int activeShown_ = 0;
  std::vector<std::wstring> shownAddresses_;  // by place in the adapter list
  bool lookupRequested_ = false;
};

// Two adapters answering to the same IPv4 address: the information list warns of a conflict.
[[nodiscard]] bool HasAddressConflict(const AdapterTable& adapters);
// The warning's three lines: a row of "-", the message, the row again.
[[nodiscard]] std::vector<std::wstring> ConflictWarningLines();

}  // namespace tarvik
