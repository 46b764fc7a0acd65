#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/palette.h"
#include "monitors/network/adapter_record.h"

namespace tarvik {

// What taking an interface row's counters into an adapter found.
struct CounterChange {
  bool Reconnected = false;  // a byte counter fell: the adapter was reset or reconnected
  // The operational status, the media state, a link speed or the physical address differs from
  // the row read before: the Internet state may have changed with it.
  bool ConnectionChanged = false;
  std::vector<std::wstring> Events;  // network events, in order
};

// Takes the adapter's interface row: the bytes and packets since the last sample, and, once a
// second (`checkOncePerSecond`), the grown error counts and changed status and link speeds as
// events. The row is kept as the adapter's latest.
[[nodiscard]] CounterChange TakeCounters(AdapterRecord& adapter, platform::InterfaceRow row,
                                         bool checkOncePerSecond);

// The adapter's mini-window item: tag, bytes sent in the last second and in all, then received.
[[nodiscard]] std::wstring AdapterItemText(const AdapterRecord& adapter);
// The item's background: its slot's colour while it is up with a receive speed, else white.
[[nodiscard]] Colour AdapterItemColour(const AdapterRecord& adapter);

// The traffic list's row for the adapter in byte mode (0) or packet mode (1); none when it
// moved nothing in that mode, or for any other mode.
[[nodiscard]] std::optional<std::wstring> TrafficRow(const AdapterRecord& adapter, int mode);

}  // namespace tarvik
