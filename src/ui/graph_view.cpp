#include "ui/graph_view.h"

#include <optional>

namespace tarvik {

void CreateGraph(platform::Gui& gui, GraphStore& graphs, int id,
                 const platform::GadgetParent& parent, const platform::Rect& bounds) {
  gui.CreateCanvas(id, parent, bounds);
  graphs.Create(id, gui.CanvasExtent(id).Width);
}

void ShowGraph(platform::Gui& gui, GraphStore& graphs, int id, std::wstring_view unit,
               const GraphTitles& titles) {
  const std::optional<GraphRecord> record = graphs.Snapshot(id);
  if (!record)
    return;
  gui.DrawCanvas(id, [&](platform::Canvas& canvas) { DrawGraph(canvas, *record, unit, titles); });
}

}  // namespace tarvik
