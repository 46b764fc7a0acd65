#include "platform/win32/adapter_list_walk.h"

#include <cstring>
#include <string>

#include "platform/win32/system_time.h"

namespace tarvik::win32 {
namespace {

// The text of a fixed character field, up to its first NUL.
template <size_t N>
std::wstring AnsiText(const char (&field)[N]) {
  const size_t length = strnlen(field, N);
  if (length == 0)
    return {};
  const int wide = ::MultiByteToWideChar(CP_ACP, 0, field, static_cast<int>(length), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, field, static_cast<int>(length), text.data(), wide);
  return text;
}

int64_t LocalDate(time_t utcSeconds) {
  if (utcSeconds <= 0)
    return 0;
  // Seconds since 1601 in 100-nanosecond units.
  constexpr uint64_t kEpochDifference = 11'644'473'600ULL;
  const uint64_t ticks = (static_cast<uint64_t>(utcSeconds) + kEpochDifference) * 10'000'000ULL;
  FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  return LocalDateFromFileTime(utc).value_or(0);
}

platform::AdapterInfo InfoOf(const IP_ADAPTER_INFO& record) {
  return {.Description = AnsiText(record.Description),
          .Index = record.Index,
          .IpAddress = AnsiText(record.IpAddressList.IpAddress.String),
          .SubnetMask = AnsiText(record.IpAddressList.IpMask.String),
          .GatewayIp = AnsiText(record.GatewayList.IpAddress.String),
          .GatewayMask = AnsiText(record.GatewayList.IpMask.String),
          .DhcpEnabled = record.DhcpEnabled != 0,
          .DhcpServer = AnsiText(record.DhcpServer.IpAddress.String),
          .DhcpMask = AnsiText(record.DhcpServer.IpMask.String),
          .LeaseObtained = LocalDate(record.LeaseObtained),
          .LeaseExpires = LocalDate(record.LeaseExpires),
          .HaveWins = record.HaveWins != 0,
          .Wins1Address = AnsiText(record.PrimaryWinsServer.IpAddress.String),
          .Wins1Mask = AnsiText(record.PrimaryWinsServer.IpMask.String),
          .Wins2Address = AnsiText(record.SecondaryWinsServer.IpAddress.String),
          .Wins2Mask = AnsiText(record.SecondaryWinsServer.IpMask.String)};
}

bool RecordInside(const std::byte* record, const std::byte* buffer, size_t size) {
  return record >= buffer && static_cast<size_t>(record - buffer) <= size &&
         size - static_cast<size_t>(record - buffer) >= sizeof(IP_ADAPTER_INFO);
}

}  // namespace

std::vector<platform::AdapterInfo> WalkAdapterList(const std::byte* buffer, size_t size) {
  std::vector<platform::AdapterInfo> adapters;
  // No list holds more records than fit: a link back into the list cannot loop forever.
  const size_t most = size / sizeof(IP_ADAPTER_INFO);
  const auto* record = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer);
  while (record && adapters.size() < most &&
         RecordInside(reinterpret_cast<const std::byte*>(record), buffer, size)) {
    adapters.push_back(InfoOf(*record));
    record = record->Next;
  }
  return adapters;
}

}  // namespace tarvik::win32
