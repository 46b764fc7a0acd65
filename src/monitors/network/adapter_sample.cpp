#include "monitors/network/adapter_sample.h"

#include <algorithm>
#include <utility>

#include "monitors/network/adapter_names.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr size_t kItemLength = 60;
constexpr int kDeltaMode = 3;
constexpr int kTotalMode = 2;
constexpr int kBitRateMode = 6;
constexpr int kByteTraffic = 0;
constexpr int kPacketTraffic = 1;
constexpr Colour kNormalItemBack = 0xFFFFFF;
constexpr uint32_t kStatusUp = 1;

std::wstring ErrorEvent(const AdapterRecord& adapter, const wchar_t* key, int64_t delta,
                        int64_t total) {
  return adapter.Tag + L" " + Tr(key) + L": " + std::to_wstring(delta) + L" (" +
         std::to_wstring(total) + L")";
}

void CheckErrors(AdapterRecord& adapter, const platform::InterfaceRow& row,
                 std::vector<std::wstring>& events) {
  if (row.OutErrors != adapter.ErrorsSent) {
    adapter.ErrorsSentDelta = row.OutErrors - adapter.ErrorsSent;
    adapter.ErrorsSent = row.OutErrors;
    events.push_back(ErrorEvent(adapter, L"Errors Sent", adapter.ErrorsSentDelta, row.OutErrors));
  }
  if (row.InErrors != adapter.ErrorsRecv) {
    adapter.ErrorsRecvDelta = row.InErrors - adapter.ErrorsRecv;
    adapter.ErrorsRecv = row.InErrors;
    events.push_back(ErrorEvent(adapter, L"Errors Recv", adapter.ErrorsRecvDelta, row.InErrors));
  }
}

void CheckStatusAndSpeeds(AdapterRecord& adapter, const platform::InterfaceRow& row,
                          std::vector<std::wstring>& events) {
  if (row.OperStatus != adapter.OperStatus) {
    adapter.OperStatus = row.OperStatus;
    events.push_back(adapter.Tag + L" " + Tr(L"OperStatus") + L": " + StatusName(row.OperStatus));
  }
  if (row.TransmitLinkSpeed != adapter.TransmitSpeed) {
    adapter.TransmitSpeed = row.TransmitLinkSpeed;
    events.push_back(adapter.Tag + L" " + Tr(L"Transmit Speed") + L": " +
                     FormatSize(row.TransmitLinkSpeed, kBitRateMode));
  }
  if (row.ReceiveLinkSpeed != adapter.ReceiveSpeed) {
    adapter.ReceiveSpeed = row.ReceiveLinkSpeed;
    events.push_back(adapter.Tag + L" " + Tr(L"Receive Speed") + L": " +
                     FormatSize(row.ReceiveLinkSpeed, kBitRateMode));
  }
}

bool ConnectionDiffers(const platform::InterfaceRow& before, const platform::InterfaceRow& now) {
  return before.OperStatus != now.OperStatus || before.MediaConnected != now.MediaConnected ||
         before.TransmitLinkSpeed != now.TransmitLinkSpeed ||
         before.ReceiveLinkSpeed != now.ReceiveLinkSpeed ||
         before.PhysicalAddress != now.PhysicalAddress;
}

std::wstring Row(const AdapterRecord& adapter, const std::wstring& sentDelta,
                 const std::wstring& sent, const std::wstring& recvDelta,
                 const std::wstring& recv) {
  return adapter.Tag + L"\n" + sentDelta + L"\n" + sent + L"\n" + recvDelta + L"\n" + recv;
}

}  // namespace

CounterChange TakeCounters(AdapterRecord& adapter, platform::InterfaceRow row,
                           bool checkOncePerSecond) {
  CounterChange change{
      .Reconnected = false, .ConnectionChanged = ConnectionDiffers(adapter.Row, row), .Events = {}};
  adapter.BytesSentDelta = row.OutOctets - adapter.BytesSent;
  adapter.BytesRecvDelta = row.InOctets - adapter.BytesRecv;
  adapter.BytesSent = row.OutOctets;
  adapter.BytesRecv = row.InOctets;
  adapter.PacketsSentDelta = row.OutPackets - adapter.PacketsSent;
  adapter.PacketsRecvDelta = row.InPackets - adapter.PacketsRecv;
  adapter.PacketsSent = row.OutPackets;
  adapter.PacketsRecv = row.InPackets;
  if (adapter.BytesSentDelta < 0 || adapter.BytesRecvDelta < 0) {
    change.Reconnected = true;
    change.Events.push_back(adapter.Tag + L" " + Tr(L"Reconnected"));
  }
  if (checkOncePerSecond) {
    CheckErrors(adapter, row, change.Events);
    CheckStatusAndSpeeds(adapter, row, change.Events);
  }
  adapter.Row = std::move(row);
  return change;
}

std::wstring AdapterItemText(const AdapterRecord& adapter) {
  std::wstring text = adapter.Tag + FormatSize(adapter.BytesSentDelta, kDeltaMode) + L" " +
                      FormatSize(adapter.BytesSent, kTotalMode) + L" /" +
                      FormatSize(adapter.BytesRecvDelta, kDeltaMode) + L" " +
                      FormatSize(adapter.BytesRecv, kTotalMode);
  if (text.size() > kItemLength)
    text.resize(kItemLength);
  return text;
}

Colour AdapterItemColour(const AdapterRecord& adapter) {
  if (adapter.ReceiveSpeed == 0 || adapter.OperStatus != kStatusUp || adapter.Slot < 1)
    return kNormalItemBack;
  const int green = std::max(0, 221 - 8 * adapter.Slot);
  return static_cast<Colour>(227 | (green << 8) | (176 << 16));
}

std::optional<std::wstring> TrafficRow(const AdapterRecord& adapter, int mode) {
  if (mode == kPacketTraffic && (adapter.PacketsSentDelta != 0 || adapter.PacketsRecvDelta != 0))
    return Row(adapter, std::to_wstring(adapter.PacketsSentDelta),
               std::to_wstring(adapter.PacketsSent), std::to_wstring(adapter.PacketsRecvDelta),
               std::to_wstring(adapter.PacketsRecv));
  if (mode == kByteTraffic && (adapter.BytesSentDelta != 0 || adapter.BytesRecvDelta != 0))
    return Row(adapter, FormatSize(adapter.BytesSentDelta, kTotalMode),
               FormatSize(adapter.BytesSent, kTotalMode),
               FormatSize(adapter.BytesRecvDelta, kTotalMode),
               FormatSize(adapter.BytesRecv, kTotalMode));
  return std::nullopt;
}

}  // namespace tarvik
