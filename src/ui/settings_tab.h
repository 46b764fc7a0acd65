#pragma once

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/gui.h"

namespace tarvik {

// The check box of the control at this position of SettingsControls().
[[nodiscard]] int CheckBoxIdOf(int control);
// The position in SettingsControls() of a check box, or -1 for any other gadget.
[[nodiscard]] int ControlOfCheckBox(int gadget);

// Builds the Settings tab: the four groups of option check boxes with their tooltips, the
// long-idle and title-bar selectors, the transparency slider, the log-folder controls with the
// log buffer's status, and the import and export buttons.
void BuildSettingsTab(platform::Gui& gui);

// Shows the options as they stand: every check box's state and enabled state, the selectors,
// the slider, the log folder (unless its editor is open), and the unit and display choices of the
// other tabs.
void ApplySettingsToPanels(platform::Gui& gui, const Settings& settings, const TextSlots& texts);

}  // namespace tarvik
