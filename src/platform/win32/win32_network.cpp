#include "platform/win32/win32_network.h"

#include <netioapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstddef>
#include <limits>

#include "platform/os_call_count.h"
#include "platform/win32/adapter_list_walk.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

using GetAdaptersInfoFn = decltype(&::GetAdaptersInfo);
using GetIfTableFn = decltype(&::GetIfTable);
using GetIfEntry2Fn = decltype(&::GetIfEntry2);

// A list that changes between the size query and the read is asked for again, a few times.
constexpr int kListAttempts = 3;

int64_t Count(ULONG64 value) {
  return static_cast<int64_t>(std::min<ULONG64>(value, std::numeric_limits<int64_t>::max()));
}

std::vector<uint8_t> AddressBytes(const UCHAR* bytes, ULONG length) {
  return {bytes, bytes + std::min<ULONG>(length, IF_MAX_PHYS_ADDRESS_LENGTH)};
}

platform::InterfaceRow RowOf(const MIB_IF_ROW2& row) {
  return {.Description = row.Description,
          .PhysicalAddress = AddressBytes(row.PhysicalAddress, row.PhysicalAddressLength),
          .PermanentAddress = AddressBytes(row.PermanentPhysicalAddress, row.PhysicalAddressLength),
          .Mtu = row.Mtu,
          .Type = row.Type,
          .TunnelType = static_cast<uint32_t>(row.TunnelType),
          .AccessType = static_cast<uint32_t>(row.AccessType),
          .DirectionType = static_cast<uint32_t>(row.DirectionType),
          .ConnectionType = static_cast<uint32_t>(row.ConnectionType),
          .HardwareInterface = row.InterfaceAndOperStatusFlags.HardwareInterface != 0,
          .FilterInterface = row.InterfaceAndOperStatusFlags.FilterInterface != 0,
          .ConnectorPresent = row.InterfaceAndOperStatusFlags.ConnectorPresent != 0,
          .PortAuthenticated = row.InterfaceAndOperStatusFlags.NotAuthenticated == 0,
          .MediaConnected = row.MediaConnectState == MediaConnectStateConnected,
          .Paused = row.InterfaceAndOperStatusFlags.Paused != 0,
          .LowPower = row.InterfaceAndOperStatusFlags.LowPower != 0,
          .EndPointInterface = row.InterfaceAndOperStatusFlags.EndPointInterface != 0,
          .OperStatus = static_cast<uint32_t>(row.OperStatus),
          .AdminStatus = static_cast<uint32_t>(row.AdminStatus),
          .TransmitLinkSpeed = Count(row.TransmitLinkSpeed),
          .ReceiveLinkSpeed = Count(row.ReceiveLinkSpeed),
          .InOctets = Count(row.InOctets),
          .OutOctets = Count(row.OutOctets),
          .InPackets = Count(row.InUcastPkts + row.InNUcastPkts),
          .OutPackets = Count(row.OutUcastPkts + row.OutNUcastPkts),
          .InErrors = Count(row.InErrors),
          .OutErrors = Count(row.OutErrors)};
}

}  // namespace

HMODULE Win32Network::IpHelper() const {
  return libraries_.Module(platform::OptionalLibrary::IpHelper);
}

bool Win32Network::Available() const {
  return IpHelper() != nullptr;
}

std::optional<std::vector<platform::AdapterInfo>> Win32Network::Adapters() {
  TARVIK_COUNT_OS_CALL("GetAdaptersInfo");
  const auto getAdaptersInfo = ProcAddress<GetAdaptersInfoFn>(IpHelper(), "GetAdaptersInfo");
  if (!getAdaptersInfo)
    return std::nullopt;
  for (int attempt = 0; attempt < kListAttempts; ++attempt) {
    ULONG size = 0;
    const ULONG asked = getAdaptersInfo(nullptr, &size);
    if (asked == ERROR_NO_DATA)
      return std::vector<platform::AdapterInfo>{};
    if (asked != ERROR_BUFFER_OVERFLOW || size == 0)
      return std::nullopt;
    // IP_ADAPTER_INFO holds pointers: the buffer is aligned for them.
    std::vector<IP_ADAPTER_INFO> buffer(size / sizeof(IP_ADAPTER_INFO) + 1);
    ULONG filled = static_cast<ULONG>(buffer.size() * sizeof(IP_ADAPTER_INFO));
    const ULONG read = getAdaptersInfo(buffer.data(), &filled);
    if (read == ERROR_BUFFER_OVERFLOW)
      continue;
    if (read != NO_ERROR)
      return std::nullopt;
    return WalkAdapterList(reinterpret_cast<const std::byte*>(buffer.data()),
                           buffer.size() * sizeof(IP_ADAPTER_INFO));
  }
  return std::nullopt;
}

std::vector<uint32_t> Win32Network::InterfaceIndexes() {
  TARVIK_COUNT_OS_CALL("GetIfTable");
  const auto getIfTable = ProcAddress<GetIfTableFn>(IpHelper(), "GetIfTable");
  std::vector<uint32_t> indexes;
  if (!getIfTable)
    return indexes;
  for (int attempt = 0; attempt < kListAttempts; ++attempt) {
    ULONG size = 0;
    if (getIfTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0)
      return indexes;
    std::vector<MIB_IFTABLE> buffer(size / sizeof(MIB_IFTABLE) + 1);
    ULONG filled = static_cast<ULONG>(buffer.size() * sizeof(MIB_IFTABLE));
    const DWORD read = getIfTable(buffer.data(), &filled, FALSE);
    if (read == ERROR_INSUFFICIENT_BUFFER)
      continue;
    if (read != NO_ERROR)
      return indexes;
    const MIB_IFTABLE& table = buffer.front();
    const size_t fits =
        (buffer.size() * sizeof(MIB_IFTABLE) - offsetof(MIB_IFTABLE, table)) / sizeof(MIB_IFROW);
    for (DWORD i = 0; i < table.dwNumEntries && i < fits; ++i)
      indexes.push_back(table.table[i].dwIndex);
    return indexes;
  }
  return indexes;
}

std::optional<platform::InterfaceRow> Win32Network::Interface(uint32_t index) {
  TARVIK_COUNT_OS_CALL("GetIfEntry2");
  const auto getIfEntry2 = ProcAddress<GetIfEntry2Fn>(IpHelper(), "GetIfEntry2");
  if (!getIfEntry2)
    return std::nullopt;
  MIB_IF_ROW2 row{};
  row.InterfaceIndex = index;
  if (getIfEntry2(&row) != NO_ERROR)
    return std::nullopt;
  return RowOf(row);
}

std::optional<uint32_t> Win32Network::InternetFlags() {
  TARVIK_COUNT_OS_CALL("InternetGetConnectedState");
  DWORD flags = 0;
  if (!::InternetGetConnectedState(&flags, 0))
    return std::nullopt;
  return flags;
}

bool Win32Network::TakeChangeNotice() {
  TARVIK_COUNT_OS_CALL("network change notices");
  notices_.Start(IpHelper());
  return notices_.Take();
}

}  // namespace tarvik::win32
