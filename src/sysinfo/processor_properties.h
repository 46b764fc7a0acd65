#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/wmi.h"

namespace tarvik {

// The processor slots asked of WMI, from slot::ProcessorPropertyFirst on; the two slots after
// them name rows the program computes itself.
inline constexpr int kQueriedProcessorProperties = 11;
// The slots that end up holding the values the program shows, by property.
inline constexpr int kProcessorL2CacheSlot = slot::ProcessorPropertyFirst + 2;   // "L2CacheSize"
inline constexpr int kProcessorL3CacheSlot = slot::ProcessorPropertyFirst + 3;   // "L3CacheSize"
inline constexpr int kProcessorBrandSlot = slot::ProcessorPropertyFirst + 4;     // "Manufacturer"
inline constexpr int kProcessorMaxSpeedSlot = slot::ProcessorPropertyFirst + 5;  // "MaxClockSpeed"
inline constexpr int kProcessorNameSlot = slot::ProcessorPropertyFirst + 6;      // "Name"
inline constexpr int kProcessorCoresSlot = slot::ProcessorPropertyFirst + 7;     // "NumberOfCores"
inline constexpr int kProcessorIdSlot = slot::ProcessorPropertyFirst + 10;       // "ProcessorId"

// How a property is kept: a number as its decimal text, a text trimmed, anything else empty;
// runs of blanks are collapsed to one.
[[nodiscard]] std::wstring ProcessorPropertyText(const platform::WmiValue& value);

// One row of property values per processor, in the order of the slots.
using ProcessorRows = std::vector<std::vector<platform::WmiValue>>;

// Stores the last processor's values in the processor slots; a slot whose property is missing,
// and every slot without an answer, ends empty.
void StoreProcessorProperties(const std::optional<ProcessorRows>& processors, TextSlots& texts);

// Replaces the property names in the processor slots by their values for this machine (the
// last processor's, when there are several). A slot whose property is missing, and every slot
// when WMI cannot be asked, ends empty. Does nothing while the program shuts down. Call once:
// afterwards the slots hold values, not names.
void ReadProcessorProperties(platform::Wmi& wmi, const Settings& settings, TextSlots& texts);

}  // namespace tarvik
