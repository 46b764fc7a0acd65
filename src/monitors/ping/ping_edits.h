#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "monitors/ping/ping_host.h"

namespace tarvik {

// The changes the ping coordinator makes to the list at the user's request. Each returns the
// message for the ping panel's header (translated), empty when there is none.

struct AddedHost {
  std::wstring Message;
  bool Added = false;        // a host was appended
  bool Described = false;    // an existing host's description was replaced
  bool DropPending = false;  // the list is full: the names still waiting are dropped
};

// Adds the address (as the echo call takes it) with its description, unless the list is full or
// holds the address already; in address-entry mode an existing host takes the new description.
[[nodiscard]] AddedHost AddHost(PingList& hosts, uint32_t address, const std::wstring& description,
                                bool addressEntryMode, const std::wstring& creationKey);

// Deletes or resets the selected hosts, or every host when `all` is set.
[[nodiscard]] std::wstring DeleteHosts(PingList& hosts, bool all);
[[nodiscard]] std::wstring ResetHosts(PingList& hosts, bool all);

// A list read from the state file (which already brought its values into range and made the sort
// keys), made whole: creation keys where missing, and a "resumed" sample at `now`. Extremes stay
// as read: a best time of 0 ms is a real reply (a host without them reads as -1, none yet).
void RepairLoadedList(PingList& hosts, int32_t now, const std::function<std::wstring()>& newKey);

}  // namespace tarvik
