#include "ui/graph_view.h"

#include <optional>

#include "ui/graph_attributes.h"

namespace tarvik {

void CreateGraph(platform::Gui& gui, GraphStore& graphs, int id,
                 const platform::GadgetParent& parent, const platform::Rect& bounds,
                 platform::FontId font) {
  gui.CreateCanvas(id, parent, bounds);
  graphs.Create(id, gui.CanvasExtent(id).Width);
  graphs.SetAttribute(id, graph_attr::Font, font);
}

void FitGraphsToCanvases(const platform::Gui& gui, GraphStore& graphs) {
  for (const int id : graphs.Ids()) {
    const int width = gui.CanvasExtent(id).Width;
    if (width > 0)
      graphs.Change(id, [width](GraphRecord& record) { ResizeGraph(record, width); });
  }
}

void ShowGraph(platform::Gui& gui, GraphStore& graphs, int id, std::wstring_view unit,
               const GraphTitles& titles) {
  const std::optional<GraphRecord> record = graphs.Snapshot(id);
  if (!record)
    return;
  gui.DrawCanvas(id, [&](platform::Canvas& canvas) { DrawGraph(canvas, *record, unit, titles); });
}

// The colour slots start with the first series graph; a graph below it (the GPU temperature
// graph) keeps the colour it was made with.
void TakeGraphColours(GraphStore& graphs, const Settings& settings) {
  for (const int id : graphs.Ids()) {
    if (id >= opt::FirstGraphColour && id < Settings::kCount)
      graphs.SetAttribute(id, graph_attr::LineColour, settings.Get(id));
  }
}

}  // namespace tarvik
