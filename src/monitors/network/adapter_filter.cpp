#include "monitors/network/adapter_filter.h"

#include "text/translation.h"

namespace tarvik {

AdapterFilter BuildAdapterFilter(const AdapterTable& adapters,
                                 const std::wstring& filteredAddress) {
  AdapterFilter filter{
      .Items = {Tr(L"Show ALL Active Networks")}, .InterfaceOfItem = {0}, .AddressOfItem = {L""}};
  for (const AdapterRecord& adapter : adapters) {
    if (adapter.PanelItem == 0)
      continue;
    std::wstring index = std::to_wstring(adapter.IfIndex);
    if (index.size() < 3)
      index.insert(0, 3 - index.size(), L'0');
    if (adapter.PhysicalAddress == filteredAddress && filter.Selected == 0)
      filter.Selected = static_cast<int>(filter.Items.size());
    filter.Items.push_back(Tr(L"Filter") + L" " + adapter.Tag + L":" + index + L" (" +
                           adapter.PhysicalAddress + L") " + adapter.Info.Description);
    filter.InterfaceOfItem.push_back(adapter.IfIndex);
    filter.AddressOfItem.push_back(adapter.PhysicalAddress);
  }
  return filter;
}

}  // namespace tarvik
