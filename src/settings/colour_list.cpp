#include "settings/colour_list.h"

#include <algorithm>
#include <optional>

#include "settings/hex_digit.h"

namespace tarvik {
namespace {

constexpr int kGraphColourLast = 399;       // the processor graphs follow at 400
constexpr int kFirstProcessorColour = 400;  // processor graph colours sit at their graph ids
constexpr int kGpuBlockSize = 10;           // graph slots per GPU device
constexpr int kGpuGraphsPerDevice = 6;      // of which this many hold graph colours
constexpr int32_t kColourLimit = 0xFFFFFF;  // white and above are refused, as is 0
constexpr size_t kMaxHexDigits = 8;
constexpr wchar_t kSeparator = L'$';

bool InRecord(int index) {
  return index >= 0 && index < Settings::kCount;
}

ColourRange Clamped(int first, int last) {
  if (!InRecord(first))
    return {};
  return {first, std::min(last, Settings::kCount - 1)};
}

std::optional<int64_t> ParseHex(std::wstring_view entry) {
  if (entry.empty() || entry.size() > kMaxHexDigits)
    return std::nullopt;
  int64_t value = 0;
  for (const wchar_t c : entry) {
    const int digit = HexDigitValue(c);
    if (digit < 0)
      return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

std::wstring Hex(int32_t value) {
  constexpr const wchar_t* kDigits = L"0123456789ABCDEF";
  auto bits = static_cast<uint32_t>(value);
  std::wstring text;
  do {
    text.insert(text.begin(), kDigits[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  return text;
}

// The colour an entry gives its slot, or nothing when it leaves the slot as it is.
std::optional<int32_t> EntryColour(std::wstring_view entry, int index,
                                   const DefaultColours& defaults) {
  if (entry.empty())
    return defaults.At(index);
  const std::optional<int64_t> colour = ParseHex(entry);
  if (!colour || *colour < 1 || *colour >= kColourLimit)
    return std::nullopt;
  return static_cast<int32_t>(*colour);
}

bool Store(Settings& settings, int index, int32_t value) {
  if (settings.Get(index) == value)
    return false;
  settings.Set(index, value);
  return true;
}

}  // namespace

DefaultColours::DefaultColours(const Settings& settings) {
  for (int i = 0; i < Settings::kCount; ++i)
    values_[static_cast<size_t>(i)] = settings.Get(i);
}

int32_t DefaultColours::At(int index) const {
  return InRecord(index) ? values_[static_cast<size_t>(index)] : 0;
}

ColourRange GraphColourRange(const Settings&) {
  return Clamped(opt::FirstGraphColour, kGraphColourLast);
}

ColourRange ProcessorColourRange(const Settings& settings) {
  const int32_t last = settings.Get(opt::ProcessorColourLast);
  if (last < 0)
    return {};
  return Clamped(kFirstProcessorColour, kFirstProcessorColour + std::min(last, Settings::kCount));
}

ColourRange GpuColourRange(const Settings& settings) {
  const int32_t first = settings.Get(opt::FirstGpuGraph);
  if (!InRecord(first))
    return {};
  return Clamped(first, first + kGpuBlockSize - 1);
}

std::wstring BuildColourList(const Settings& settings, const DefaultColours& defaults,
                             ColourRange range) {
  std::wstring list;
  for (int index = range.First; index <= range.Last && defaults.At(index) != 0; ++index) {
    if (index > range.First)
      list += kSeparator;
    const int32_t colour = settings.Get(index);
    if (colour != defaults.At(index))
      list += Hex(colour);
  }
  while (!list.empty() && list.back() == kSeparator)
    list.pop_back();
  return list;
}

bool ApplyColourList(std::wstring_view list, Settings& settings, const DefaultColours& defaults,
                     ColourRange range) {
  bool changed = false;
  // Entries the writer left off at the end equal their start values, so every slot of the
  // range is set, not only those the text reaches: an import then replaces colours in full.
  for (int index = range.First; index <= range.Last && defaults.At(index) != 0; ++index) {
    const size_t end = std::min(list.find(kSeparator), list.size());
    if (const auto colour = EntryColour(list.substr(0, end), index, defaults)) {
      changed = Store(settings, index, *colour) || changed;
    }
    list.remove_prefix(end < list.size() ? end + 1 : end);
  }
  return changed;
}

bool CopyGpuColourBlocks(Settings& settings, int deviceCount) {
  const int32_t first = settings.Get(opt::FirstGpuGraph);
  bool changed = false;
  if (!InRecord(first))
    return changed;
  for (int device = 1; device < deviceCount; ++device) {
    const int block = first + device * kGpuBlockSize;
    if (!InRecord(block + kGpuGraphsPerDevice - 1))
      break;
    for (int graph = 0; graph < kGpuGraphsPerDevice; ++graph) {
      changed = Store(settings, block + graph, settings.Get(first + graph)) || changed;
    }
  }
  return changed;
}

}  // namespace tarvik
