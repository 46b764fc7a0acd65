#include "app/graph_controls.h"

#include <optional>
#include <string>

#include "ui/gadget_ids.h"
#include "ui/graph_readout.h"

namespace tarvik {

GraphControls::GraphControls(GraphStore& graphs, Settings& settings, WindowUpdateQueue& updates)
    : graphs_(graphs), settings_(settings), updates_(updates) {}

void GraphControls::Install(EventDispatcher& dispatcher) {
  dispatcher.OnCommand(Command::ToggleGraphSmoothing, EventDispatcher::kEveryPanel,
                       [this] { ToggleSmoothing(); });
  dispatcher.OnCommand(Command::InvertGraphColours, EventDispatcher::kEveryPanel,
                       [this] { InvertColours(); });
  for (const int graph : graphs_.Ids()) {
    dispatcher.Routes().On(graph, platform::GadgetAction::MouseMove,
                           [this](const platform::GuiEvent& event) {
                             ShowReadout(event.Gadget, event.Mouse.X);
                             return LoopControl::Continue;
                           });
  }
}

void GraphControls::ToggleSmoothing() {
  ChangeSeriesGraphs(tarvik::ToggleSmoothing);
}

void GraphControls::InvertColours() {
  ChangeSeriesGraphs(tarvik::InvertColours);
  ChangeProcessorGraphs(tarvik::InvertColours);
  LookChanged();
}

// The series graphs are numbered without a gap, so the first id that has no graph ends them.
void GraphControls::ChangeSeriesGraphs(const std::function<void(GraphRecord&)>& change) {
  for (int graph = gadget::FirstHistoryGraph; graphs_.Change(graph, change); ++graph) {
  }
}

void GraphControls::ChangeProcessorGraphs(const std::function<void(GraphRecord&)>& change) {
  const int first = settings_.Get(opt::FirstProcessorGraph);
  const int count = settings_.Get(opt::ProcessorCount);
  for (int processor = 0; processor < count; ++processor)
    static_cast<void>(graphs_.Change(first + processor, change));
}

void GraphControls::LookChanged() {
  if (lookChanged_)
    lookChanged_();
}

// The mouse reports every small move; a read-out is built only when it comes to another column
// or another graph.
void GraphControls::ShowReadout(int graph, int mouseX) {
  const std::optional<GraphRecord> record = graphs_.Snapshot(graph);
  if (!record)
    return;
  const int column = record->Capacity - mouseX;
  if (settings_.Get(opt::ReadoutGraph) == graph && settings_.Get(opt::ReadoutColumn) == column)
    return;
  settings_.Set(opt::ReadoutGraph, graph);
  settings_.Set(opt::ReadoutColumn, column);
  std::wstring text = GraphReadout(record->Capacity, mouseX, record->Samples, graph);
  if (!text.empty())
    updates_.ShowTitleMessage(std::move(text));
}

}  // namespace tarvik
