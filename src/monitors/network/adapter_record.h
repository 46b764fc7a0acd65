#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/network.h"

namespace tarvik {

// The most adapters the program keeps track of, and the mini-window items they may take.
inline constexpr size_t kMaxAdapters = 31;
inline constexpr int kFirstAdapterItem = 49;
inline constexpr int kLastAdapterItem = 80;

// One network adapter: what the adapter list and its interface row said at enumeration, and the
// counters the network monitor keeps from sample to sample.
struct AdapterRecord {
  platform::AdapterInfo Info{};
  platform::InterfaceRow Row{};    // as last read: at enumeration, then at every sample
  bool Matched = false;            // an interface row with the adapter's description was found
  uint32_t IfIndex = 0;            // the interface index whose row matched
  std::wstring PhysicalAddress{};  // "00:1A:2B:3C:4D:5E"
  std::wstring PermanentAddress{};
  bool Monitored = false;  // the adapter has moved bytes
  std::wstring Tag{};      // "N1", "N2", ... or "NX"
  int Slot = 0;            // its number among monitored adapters, 0 when not monitored
  int PanelItem = 0;       // its mini-window item (49-80), 0 when none

  uint32_t OperStatus = 0;
  int64_t TransmitSpeed = 0;
  int64_t ReceiveSpeed = 0;
  int64_t BytesSent = 0;
  int64_t BytesRecv = 0;
  int64_t BytesSentDelta = 0;
  int64_t BytesRecvDelta = 0;
  int64_t PacketsSent = 0;
  int64_t PacketsRecv = 0;
  int64_t PacketsSentDelta = 0;
  int64_t PacketsRecvDelta = 0;
  int64_t ErrorsSent = 0;
  int64_t ErrorsRecv = 0;
  int64_t ErrorsSentDelta = 0;
  int64_t ErrorsRecvDelta = 0;
};

using AdapterTable = std::vector<AdapterRecord>;

}  // namespace tarvik
