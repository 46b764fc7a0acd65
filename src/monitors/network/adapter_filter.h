#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitors/network/adapter_record.h"

namespace tarvik {

// The adapter filter selector's items: "Show ALL Active Networks", then one item per adapter
// that has a mini-window item. The chosen adapter is the one whose physical address the
// settings keep; with none of them, the first item (no filter).
struct AdapterFilter {
  std::vector<std::wstring> Items;
  std::vector<uint32_t> InterfaceOfItem;  // 0 for the first item
  std::vector<std::wstring> AddressOfItem;
  int Selected = 0;
};

[[nodiscard]] AdapterFilter BuildAdapterFilter(const AdapterTable& adapters,
                                               const std::wstring& filteredAddress);

}  // namespace tarvik
