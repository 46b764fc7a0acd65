#pragma once

#include <optional>
#include <string>
#include <utility>

#include "core/meter_table.h"
#include "core/settings.h"
#include "core/window_updates.h"
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

// The mini window's cells on its canvas, and the window fitted around them. The samplers never
// draw the whole window: they report a changed meter and only that cell is drawn again. Every
// drawing runs under the meter table's lock, which also keeps two drawers apart.
class MiniWindow {
 public:
  MiniWindow(platform::Gui& gui, Settings& settings, MeterTable& meters, const Fonts& fonts,
             WindowUpdateQueue& updates);

  // Measures the cells in the mini-window font, builds the built-in and drive cells, draws them
  // and fits the window. Window thread, once the mini window is open.
  void Build();
  // Lays out the further rows, fits the window to the rows when they changed, clears the canvas
  // and draws every active cell. Window thread: workers ask for it by queueing a refresh of the
  // mini window.
  void RedrawAll();
  // The window was laid out at another DPI: the cells are measured again in the font made for
  // it, placed, fitted and drawn. Window thread.
  void Rescale();
  // Compact mode ("Borderless Window") on or off: the cells change, the window is fitted anew.
  void SetCompact(bool compact);
  // A meter's text changed (or `force`): draws that cell alone and remembers the text as drawn.
  // A text that did not change is not drawn again. An active cell that has no place yet asks
  // for a new layout instead. Any thread.
  void MeterChanged(int meter, bool force);

  [[nodiscard]] const CellMetrics& Metrics() const { return metrics_; }

 private:
  void FitTo(Meters& meters);
  void PlaceInsideWorkArea();

  platform::Gui& gui_;
  Settings& settings_;
  MeterTable& meters_;
  const Fonts& fonts_;
  WindowUpdateQueue& updates_;
  CellMetrics metrics_;
  int rows_ = kBuiltInRows;  // as last laid out, under the meter table's lock
  bool compact_ = false;
  // What the window was last fitted to; nothing before the first fit.
  std::optional<std::pair<platform::Size, bool>> fitted_;
};

// Opacity from "Transparent Window" and the transparency step, and "Enable Always on Top".
[[nodiscard]] int MiniWindowAlpha(const Settings& settings);
void ApplyMiniWindowStyle(platform::Gui& gui, const Settings& settings);

}  // namespace tarvik
