#pragma once

#include <string>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/wmi.h"

namespace tarvik {

// The processor slots asked of WMI, from slot::ProcessorPropertyFirst on; the two slots after
// them name rows the program computes itself.
inline constexpr int kQueriedProcessorProperties = 11;
// The slot that ends up holding the processor's name (the property "Name").
inline constexpr int kProcessorNameSlot = slot::ProcessorPropertyFirst + 6;

// How a property is kept: a number as its decimal text, a text trimmed, anything else empty;
// runs of blanks are collapsed to one.
[[nodiscard]] std::wstring ProcessorPropertyText(const platform::WmiValue& value);

// Replaces the property names in the processor slots by their values for this machine (the
// last processor's, when there are several). A slot whose property is missing, and every slot
// when WMI cannot be asked, ends empty. Does nothing while the program shuts down. Call once:
// afterwards the slots hold values, not names.
void ReadProcessorProperties(platform::Wmi& wmi, const Settings& settings, TextSlots& texts);

}  // namespace tarvik
