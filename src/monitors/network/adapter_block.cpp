#include "monitors/network/adapter_block.h"

#include "monitors/network/adapter_names.h"
#include "monitors/network/info_line.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr size_t kDescriptionWidth = 45;
constexpr int kBitRateMode = 6;

std::wstring Padded(std::wstring text, size_t width, wchar_t fill, bool left) {
  if (text.size() < width)
    text.insert(left ? text.begin() : text.end(), width - text.size(), fill);
  return text;
}

std::wstring LeaseText(int64_t date) {
  return date == 0 ? std::wstring() : FormatDate(L"%yyyy-%mm-%dd %hh:%ii:%ss", date);
}

// A numbered line: the fixed-width label, "#" and the value's number, then its name.
std::wstring NumberedLabel(const wchar_t* fixedKey, uint32_t number) {
  return TrFixed(fixedKey) + L"#" + std::to_wstring(number);
}

void AddInterfaceLines(std::vector<std::wstring>& lines, const AdapterRecord& adapter) {
  const platform::InterfaceRow& row = adapter.Row;
  AddInfoLine(lines, Tr(L"Interface Type"), Tr(row.HardwareInterface ? L"Hardware" : L"Software"));
  AddInfoLine(lines, Tr(L"Physical Address"), adapter.PhysicalAddress);
  AddInfoLine(lines, Tr(L"Alternate MAC"), adapter.PermanentAddress);
  AddInfoLine(lines, Tr(L"MTU"), std::to_wstring(row.Mtu));
  AddInfoLine(lines, NumberedLabel(L"Interface    ", row.Type), InterfaceTypeName(row.Type));
  AddInfoLine(lines, NumberedLabel(L"Tunnel       ", row.TunnelType),
              TunnelTypeName(row.TunnelType));
  AddInfoLine(lines, NumberedLabel(L"Access       ", row.AccessType),
              AccessTypeName(row.AccessType));
  AddInfoLine(lines, NumberedLabel(L"Direction    ", row.DirectionType),
              DirectionName(row.DirectionType));
  AddInfoLine(lines, Tr(L"Filter Module"), YesNo(row.FilterInterface));
  AddInfoLine(lines, Tr(L"Connector"), YesNo(row.ConnectorPresent));
  AddInfoLine(lines, Tr(L"Authenticated"), YesNo(row.PortAuthenticated));
  AddInfoLine(lines, Tr(L"Connected"), Tr(row.MediaConnected ? L"Connected" : L"Disconnected"));
  AddInfoLine(lines, Tr(L"Paused"), YesNo(row.Paused));
  AddInfoLine(lines, Tr(L"Low Power Mode"), YesNo(row.LowPower));
  AddInfoLine(lines, Tr(L"End Point"), YesNo(row.EndPointInterface));
  AddInfoLine(lines, NumberedLabel(L"OperStatus   ", row.OperStatus), StatusName(row.OperStatus));
  AddInfoLine(lines, NumberedLabel(L"AdminStatus  ", row.AdminStatus), StatusName(row.AdminStatus));
  AddInfoLine(lines, Tr(L"Transmit Speed"), FormatSize(row.TransmitLinkSpeed, kBitRateMode));
  AddInfoLine(lines, Tr(L"Receive Speed"), FormatSize(row.ReceiveLinkSpeed, kBitRateMode));
}

void AddAddressLines(std::vector<std::wstring>& lines, const AdapterRecord& adapter) {
  const platform::AdapterInfo& info = adapter.Info;
  AddInfoLine(lines, Tr(L"Active"), YesNo(adapter.Monitored));
  AddInfoLine(lines, Tr(L"IP Address"), info.IpAddress);
  AddInfoLine(lines, Tr(L"Subnet Mask"), info.SubnetMask);
  AddInfoLine(lines, Tr(L"Gateway IP"), info.GatewayIp);
  AddInfoLine(lines, Tr(L"Gateway Mask"), info.GatewayMask);
  AddInfoLine(lines, Tr(L"DHCP Enabled"), YesNo(info.DhcpEnabled));
  AddInfoLine(lines, Tr(L"DHCP Address"), info.DhcpServer);
  AddInfoLine(lines, Tr(L"DHCP Mask"), info.DhcpMask);
  AddInfoLine(lines, Tr(L"DHCP Lease"), LeaseText(info.LeaseObtained));
  AddInfoLine(lines, Tr(L"DHCP Ends"), LeaseText(info.LeaseExpires));
  AddInfoLine(lines, Tr(L"WINS Enabled"), YesNo(info.HaveWins));
  AddInfoLine(lines, Tr(L"WINS 1 Address"), info.Wins1Address);
  AddInfoLine(lines, Tr(L"WINS 1 Mask"), info.Wins1Mask);
  AddInfoLine(lines, Tr(L"WINS 2 Address"), info.Wins2Address);
  AddInfoLine(lines, Tr(L"WINS 2 Mask"), info.Wins2Mask);
}

void AddErrorLines(std::vector<std::wstring>& lines, const AdapterRecord& adapter) {
  if (adapter.ErrorsSent > 0)
    AddInfoLine(lines, Tr(L"Errors Sent"), std::to_wstring(adapter.ErrorsSent));
  if (adapter.ErrorsRecv > 0)
    AddInfoLine(lines, Tr(L"Errors Recv"), std::to_wstring(adapter.ErrorsRecv));
}

}  // namespace

std::vector<std::wstring> AdapterBlockLines(const AdapterRecord& adapter, DateValue now) {
  std::vector<std::wstring> lines{L"",
                                  L"-- " + adapter.Tag + L":" +
                                      Padded(std::to_wstring(adapter.IfIndex), 3, L'0', true) +
                                      FormatDate(L" %yyyy-%mm-%dd %hh:%ii:%ss", now),
                                  Padded(adapter.Info.Description, kDescriptionWidth, L' ', false)};
  if (adapter.Matched)
    AddInterfaceLines(lines, adapter);
  AddAddressLines(lines, adapter);
  AddErrorLines(lines, adapter);
  return lines;
}

}  // namespace tarvik
