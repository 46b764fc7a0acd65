#include "monitors/network/adapter_enumeration.h"

#include <map>
#include <optional>
#include <set>

#include "monitors/network/adapter_block.h"
#include "monitors/network/adapter_names.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr const wchar_t* kNoAddress = L"0.0.0.0";

// Rows are asked for once per index and enumeration.
class InterfaceRows {
 public:
  explicit InterfaceRows(platform::Network& network) : network_(network) {}

  const std::optional<platform::InterfaceRow>& Row(uint32_t index) {
    auto found = rows_.find(index);
    if (found == rows_.end())
      found = rows_.emplace(index, network_.Interface(index)).first;
    return found->second;
  }

 private:
  platform::Network& network_;
  std::map<uint32_t, std::optional<platform::InterfaceRow>> rows_;
};

void TakeRow(AdapterRecord& adapter, uint32_t index, const platform::InterfaceRow& row) {
  adapter.Matched = true;
  adapter.IfIndex = index;
  adapter.Row = row;
  adapter.PhysicalAddress = MacAddressText(row.PhysicalAddress);
  adapter.PermanentAddress = MacAddressText(row.PermanentAddress);
  adapter.BytesSent = row.OutOctets;
  adapter.BytesRecv = row.InOctets;
  adapter.PacketsSent = row.OutPackets;
  adapter.PacketsRecv = row.InPackets;
  adapter.ErrorsSent = row.OutErrors;
  adapter.ErrorsRecv = row.InErrors;
  adapter.OperStatus = row.OperStatus;
  adapter.TransmitSpeed = row.TransmitLinkSpeed;
  adapter.ReceiveSpeed = row.ReceiveLinkSpeed;
}

std::wstring HexNumber(int number) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring text;
  do {
    text.insert(text.begin(), kHex[number % 16]);
    number /= 16;
  } while (number > 0);
  return text;
}

}  // namespace

Enumeration AdapterEnumerator::Enumerate(DateValue now) {
  Enumeration result;
  // The information list is built anew at every enumeration: the notice stays in it.
  if (!network_.Available()) {
    activeShown_ = 0;
    result.InfoLines.push_back(Tr(L"Unable to load") + L" iphlpapi.dll");
    return result;
  }
  std::optional<std::vector<platform::AdapterInfo>> list = network_.Adapters();
  if (!list) {
    activeShown_ = 0;
    return result;
  }
  if (list->size() > kMaxAdapters)
    list->resize(kMaxAdapters);
  for (platform::AdapterInfo& info : *list)
    result.Adapters.push_back(AdapterRecord{.Info = std::move(info)});

  MatchInterfaceRows(result.Adapters);
  NumberMonitoredAdapters(result.Adapters);
  if (HasAddressConflict(result.Adapters))
    result.InfoLines = ConflictWarningLines();
  for (auto adapter = result.Adapters.rbegin(); adapter != result.Adapters.rend(); ++adapter) {
    const std::vector<std::wstring> block = AdapterBlockLines(*adapter, now);
    result.InfoLines.insert(result.InfoLines.end(), block.begin(), block.end());
  }
  ReportAddressChanges(result.Adapters, result);
  int monitored = 0;
  for (const AdapterRecord& adapter : result.Adapters)
    monitored += adapter.Monitored ? 1 : 0;
  ReportConnectionCount(monitored, result);
  result.ActiveConnections = activeShown_;
  return result;
}

bool AdapterEnumerator::TakeLookupRequest() {
  const bool requested = lookupRequested_;
  lookupRequested_ = false;
  return requested;
}

// An adapter's row is the first one, among its own interface index and the indexes the
// interface table lists, whose description is the adapter's and that no other adapter took.
void AdapterEnumerator::MatchInterfaceRows(AdapterTable& adapters) {
  InterfaceRows rows(network_);
  const std::vector<uint32_t> indexes = network_.InterfaceIndexes();
  std::set<uint32_t> taken;
  for (AdapterRecord& adapter : adapters) {
    std::vector<uint32_t> candidates{adapter.Info.Index};
    candidates.insert(candidates.end(), indexes.begin(), indexes.end());
    for (const uint32_t index : candidates) {
      const std::optional<platform::InterfaceRow>& row = rows.Row(index);
      if (!row || row->Description != adapter.Info.Description || taken.contains(index))
        continue;
      TakeRow(adapter, index, *row);
      taken.insert(index);
      break;
    }
  }
}

// Adapters that have moved bytes are numbered N1, N2, ... (hexadecimal) and take the next
// mini-window item; the others are NX.
void AdapterEnumerator::NumberMonitoredAdapters(AdapterTable& adapters) const {
  int number = 0;
  for (AdapterRecord& adapter : adapters) {
    adapter.Monitored = adapter.Matched && adapter.BytesSent + adapter.BytesRecv >= 1;
    if (!adapter.Monitored) {
      adapter.Tag = L"NX";
      continue;
    }
    ++number;
    adapter.Slot = number;
    adapter.Tag = L"N" + HexNumber(number);
    adapter.PanelItem = kFirstAdapterItem + number - 1;
  }
}

void AdapterEnumerator::ReportAddressChanges(const AdapterTable& adapters, Enumeration& result) {
  if (shownAddresses_.size() < adapters.size())
    shownAddresses_.resize(adapters.size());
  for (size_t place = 0; place < adapters.size(); ++place) {
    const std::wstring& address = adapters[place].Info.IpAddress;
    if (address == shownAddresses_[place])
      continue;
    shownAddresses_[place] = address;
    result.Events.push_back(adapters[place].Tag + L" IPv4: " + address);
    if (address != kNoAddress)
      lookupRequested_ = true;
  }
}

void AdapterEnumerator::ReportConnectionCount(int count, Enumeration& result) {
  if (count == activeShown_)
    return;
  activeShown_ = count;
  result.Events.push_back(Tr(L"Active Connections") + L": " + std::to_wstring(count));
  lookupRequested_ = true;
}

bool HasAddressConflict(const AdapterTable& adapters) {
  std::set<std::wstring> seen;
  for (const AdapterRecord& adapter : adapters) {
    const std::wstring& address = adapter.Info.IpAddress;
    if (address.empty() || address == kNoAddress)
      continue;
    if (!seen.insert(address).second)
      return true;
  }
  return false;
}

std::vector<std::wstring> ConflictWarningLines() {
  const std::wstring message = Tr(L"EXCESS DATA DETECTED. IP CONFLICT?");
  const std::wstring rule(message.size() + 2, L'-');
  return {rule, message + L" ?", rule};
}

}  // namespace tarvik
