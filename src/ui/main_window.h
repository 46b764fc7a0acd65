#pragma once

#include "core/settings.h"
#include "platform/gui.h"
#include "ui/fonts.h"
#include "ui/graph_titles.h"
#include "ui/history_graph.h"

namespace tarvik {

inline constexpr platform::Size kMainWindowSize{894, 564};
// The width the tabs' contents span, from x 4.
inline constexpr int kPanelContentWidth = 878;

// Builds the main window with its tab panel and the eight tabs: every list with its columns,
// the graphs (empty until samples come), selectors, buttons and canvases, captions and tooltips
// translated. The monitors fill them later.
// The processor graphs' grid grows to hold every processor and is kept in `settings`.
// Every graph gets its record in `graphs`.
void BuildMainWindow(platform::Gui& gui, const Fonts& fonts, Settings& settings, GraphStore& graphs,
                     bool visible);

// The tab that holds one of the System, Storage and Networks graphs; -1 for any other id.
[[nodiscard]] int TabOfGraph(int id);
// Draws one of those graphs again from its record, with its title, its current values under it
// and its unit.
void ShowGraphOf(platform::Gui& gui, GraphStore& graphs, int id, const GraphValues& values = {});

// The Processors tab's caption of how long its graphs' width lasts.
void ShowProcessorTimeSpan(platform::Gui& gui, const Fonts& fonts, const Settings& settings);

// Draws a one-line message at the bottom of the Processors tab's status canvas, replacing the
// one before.
void ShowStatusMessage(platform::Gui& gui, const Fonts& fonts, const std::wstring& message);

}  // namespace tarvik
