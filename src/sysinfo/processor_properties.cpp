#include "sysinfo/processor_properties.h"

#include <vector>

namespace tarvik {
namespace {

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos)
    return L"";
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring WithSingleBlanks(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == L' ' && !result.empty() && result.back() == L' ')
      continue;
    result += c;
  }
  return result;
}

}  // namespace

std::wstring ProcessorPropertyText(const platform::WmiValue& value) {
  if (const auto* number = std::get_if<int64_t>(&value))
    return std::to_wstring(*number);
  if (const auto* text = std::get_if<std::wstring>(&value))
    return WithSingleBlanks(Trimmed(*text));
  return L"";
}

void ReadProcessorProperties(platform::Wmi& wmi, const Settings& settings, TextSlots& texts) {
  if (settings.IsOn(opt::StopFlag))
    return;
  // The names are read once, before any slot takes its value: asking for each processor with
  // the names still in the slots would ask the second processor for the first one's values.
  std::vector<std::wstring> names;
  for (int i = 0; i < kQueriedProcessorProperties; ++i)
    names.push_back(texts.Get(slot::ProcessorPropertyFirst + i));
  StoreProcessorProperties(wmi.ProcessorProperties(names), texts);
}

void StoreProcessorProperties(const std::optional<ProcessorRows>& processors, TextSlots& texts) {
  const std::vector<platform::WmiValue>* last =
      processors && !processors->empty() ? &processors->back() : nullptr;
  for (int i = 0; i < kQueriedProcessorProperties; ++i) {
    const size_t index = static_cast<size_t>(i);
    texts.Set(slot::ProcessorPropertyFirst + i,
              last && index < last->size() ? ProcessorPropertyText((*last)[index]) : L"");
  }
}

}  // namespace tarvik
