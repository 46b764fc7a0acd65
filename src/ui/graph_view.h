#pragma once

#include <string_view>

#include "core/settings.h"
#include "platform/gui.h"
#include "ui/graph_drawing.h"
#include "ui/history_graph.h"

namespace tarvik {

// Makes a history graph: its canvas and its record, which keeps one sample per pixel column of
// the canvas and draws its labels and titles in the font given.
void CreateGraph(platform::Gui& gui, GraphStore& graphs, int id,
                 const platform::GadgetParent& parent, const platform::Rect& bounds,
                 platform::FontId font);

// After the window was laid out at another DPI, each graph drawn on a canvas of its own id
// keeps one sample per pixel column of that canvas's new width.
void FitGraphsToCanvases(const platform::Gui& gui, GraphStore& graphs);

// Draws a graph's canvas from a copy of its record, so the graph lock is never held while the
// canvas is drawn. Any thread.
void ShowGraph(platform::Gui& gui, GraphStore& graphs, int id, std::wstring_view unit,
               const GraphTitles& titles);

// Every graph draws its series in the colour its option of the same number holds; called once
// the settings file has been read, at start and after an import.
void TakeGraphColours(GraphStore& graphs, const Settings& settings);

}  // namespace tarvik
