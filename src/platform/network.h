#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::platform {

// One adapter of the system's IPv4 adapter list: its first address, gateway, DHCP and WINS
// entries as dotted text. Lease times are local wall-clock seconds since 1970.
struct AdapterInfo {
  std::wstring Description{};
  uint32_t Index = 0;  // the adapter's own interface index
  std::wstring IpAddress{};
  std::wstring SubnetMask{};
  std::wstring GatewayIp{};
  std::wstring GatewayMask{};
  bool DhcpEnabled = false;
  std::wstring DhcpServer{};
  std::wstring DhcpMask{};
  int64_t LeaseObtained = 0;
  int64_t LeaseExpires = 0;
  bool HaveWins = false;
  std::wstring Wins1Address{};
  std::wstring Wins1Mask{};
  std::wstring Wins2Address{};
  std::wstring Wins2Mask{};
};

// The interface row of one interface index: what the interface is and its counters.
struct InterfaceRow {
  std::wstring Description{};
  std::vector<uint8_t> PhysicalAddress{};
  std::vector<uint8_t> PermanentAddress{};
  uint32_t Mtu = 0;
  uint32_t Type = 0;
  uint32_t TunnelType = 0;
  uint32_t AccessType = 0;
  uint32_t DirectionType = 0;
  uint32_t ConnectionType = 0;
  bool HardwareInterface = false;
  bool FilterInterface = false;
  bool ConnectorPresent = false;
  bool PortAuthenticated = false;
  bool MediaConnected = false;
  bool Paused = false;
  bool LowPower = false;
  bool EndPointInterface = false;
  uint32_t OperStatus = 0;
  uint32_t AdminStatus = 0;
  int64_t TransmitLinkSpeed = 0;
  int64_t ReceiveLinkSpeed = 0;
  int64_t InOctets = 0;
  int64_t OutOctets = 0;
  int64_t InPackets = 0;   // unicast and non-unicast
  int64_t OutPackets = 0;  // unicast and non-unicast
  int64_t InErrors = 0;
  int64_t OutErrors = 0;
};

// The IP Helper functions and the Internet connection state. Each call answers at once from the
// system's tables.
class Network {
 public:
  virtual ~Network() = default;

  // False when the IP Helper library is not there: no adapters and no interface rows then.
  [[nodiscard]] virtual bool Available() const = 0;
  // Every adapter of the list, in the system's order; none when the list could not be read.
  [[nodiscard]] virtual std::optional<std::vector<AdapterInfo>> Adapters() = 0;
  // The interface indexes the interface table holds (Windows numbers them sparsely).
  [[nodiscard]] virtual std::vector<uint32_t> InterfaceIndexes() = 0;
  [[nodiscard]] virtual std::optional<InterfaceRow> Interface(uint32_t index) = 0;
  // The flags of the Internet connection state; none when the query failed.
  [[nodiscard]] virtual std::optional<uint32_t> InternetFlags() = 0;
  // True once after the system told of something that may have changed the Internet state: an
  // interface, an address or a route, or the Internet settings (the proxy, "work offline").
  // The first call starts listening. The system's notices only set a flag; nothing is queried.
  [[nodiscard]] virtual bool TakeChangeNotice() = 0;
};

}  // namespace tarvik::platform
