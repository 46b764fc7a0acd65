#pragma once

#include <functional>

#include "app/event_dispatcher.h"
#include "core/settings.h"
#include "core/window_updates.h"
#include "ui/history_graph.h"

namespace tarvik {

// The keys and the mouse over the history graphs: Ctrl+S switches the smoothing of the series
// graphs, Ctrl+I inverts the colours of those and of the processor graphs, and the mouse moving
// over a graph shows the sample under it as a title message.
class GraphControls {
 public:
  GraphControls(GraphStore& graphs, Settings& settings, WindowUpdateQueue& updates);

  // Registers the two keys, and the mouse moves over every graph made so far.
  void Install(EventDispatcher& dispatcher);
  // Called after a key changed how the graphs look, to draw the ones in view again.
  void OnLookChanged(std::function<void()> redraw) { lookChanged_ = std::move(redraw); }

  void ToggleSmoothing();
  void InvertColours();
  // The mouse is over a graph at pixel column `mouseX` of its canvas.
  void ShowReadout(int graph, int mouseX);

 private:
  // Applies a change to the graphs from 301 upward, as far as they go.
  void ChangeSeriesGraphs(const std::function<void(GraphRecord&)>& change);
  void ChangeProcessorGraphs(const std::function<void(GraphRecord&)>& change);
  void LookChanged();

  GraphStore& graphs_;
  Settings& settings_;
  WindowUpdateQueue& updates_;
  std::function<void()> lookChanged_;
};

}  // namespace tarvik
