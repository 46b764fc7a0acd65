#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace tarvik {

// One history sample of a pinged host: when the cycle ran, and what it found.
struct PValues {
  int32_t S = 0;  // date value of the cycle
  int32_t T = 0;  // round-trip ms (0 or more), or one of the markers below

  bool operator==(const PValues&) const = default;
};

// Markers a sample's T holds in place of a round-trip time.
inline constexpr int32_t kSampleNoReply = -1;
inline constexpr int32_t kSampleResumed = -2;  // monitoring (re)started: the list was loaded
inline constexpr int32_t kSamplePaused = -4;

// The most samples a host keeps, and the most hosts the ping list holds.
inline constexpr size_t kMaxSamples = 1000;
inline constexpr int kMaxPingHosts = 1024;
// The most characters of a host's description.
inline constexpr size_t kMaxDescription = 40;

// One pinged host. The member names are also the keys of the ping state file (TK-Ping.json).
struct PSys {
  std::wstring Init;  // creation key "<date value>.<milliseconds>": restores creation order
  int32_t Actv = 1;   // 1 pinged, 0 paused by the user
  int32_t Sent = 0;   // cycles in which the host was active
  int32_t Recv = 0;   // cycles with a reply
  int32_t Lost = 0;   // cycles without a reply
  int32_t Time = 0;   // round-trip ms of the last echo; -1 when it failed
  int32_t Best = -1;  // smallest round-trip ms seen; -1 none yet
  int32_t Wors = -1;  // largest round-trip ms seen; -1 none yet
  int32_t Down = 0;   // date value of the last time the host went down; 0 never
  int32_t PTTL = 0;   // TTL of the last reply
  int32_t PTOS = 0;   // TOS of the last reply
  int32_t Last = 0;   // the last active cycle: 1 reply, -1 none, 0 none since creation or reset
  int32_t Valu = 0;   // the address as the echo call takes it: first octet in the lowest byte
  int64_t Sort = 0;   // the four octets, each as three digits, read as one decimal number
  int32_t HiLi = 0;   // 1 while the row is selected
  int32_t CFor = 0;   // row text colour at the last drawing
  int32_t CBak = 0;   // row background colour at the last drawing
  std::wstring Host;  // description shown after the address, at most 40 characters
  std::wstring Addr;  // the address, dotted decimal
  std::deque<PValues> PV;  // history, oldest first, at most kMaxSamples

  bool operator==(const PSys&) const = default;
};

// The ping list in display order.
using PingList = std::vector<PSys>;

}  // namespace tarvik
