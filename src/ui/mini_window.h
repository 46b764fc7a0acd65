#pragma once

#include <string>

#include "core/meter_table.h"
#include "core/settings.h"
#include "platform/gui.h"
#include "ui/fonts.h"
#include "ui/mini_cells.h"

namespace tarvik {

// Window 100 first serves as the progress window: opened in the lower right corner with a text
// area that receives the numbered start-up lines.
void OpenProgressWindow(platform::Gui& gui, const Settings& settings, const Fonts& fonts);
void AddProgressLine(platform::Gui& gui, const std::wstring& line);

// Closes the progress window and opens the mini window with its canvas at the saved position.
void OpenMiniWindow(platform::Gui& gui, Settings& settings, const Fonts& fonts, bool visible);

// The cell geometry of the mini-window font, measured on the mini window's canvas.
[[nodiscard]] CellMetrics MeasureCells(platform::Gui& gui, const Fonts& fonts);
// Clears the canvas and draws every active cell: its label and text on its back colour. Runs
// under the meter table's lock, which also keeps two drawers apart.
void RedrawAllCells(platform::Gui& gui, MeterTable& meters, const CellMetrics& metrics,
                    const Fonts& fonts);

// A meter's text changed (or `force`): draws that cell alone, under the meter table's lock, and
// remembers the text as drawn. A text that did not change is not drawn again. Any thread.
void MeterChanged(platform::Gui& gui, MeterTable& meters, const CellMetrics& metrics,
                  const Fonts& fonts, int meter, bool force);

// Opacity from "Transparent Window" and the transparency step, and "Enable Always on Top".
[[nodiscard]] int MiniWindowAlpha(const Settings& settings);
void ApplyMiniWindowStyle(platform::Gui& gui, const Settings& settings);

}  // namespace tarvik
