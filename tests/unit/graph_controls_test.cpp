#include <gtest/gtest.h>

#include "app/graph_controls.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/graph_view.h"

namespace tarvik {
namespace {

using platform::EventKind;

constexpr int kWidth = 100;
constexpr int kCpu0 = 400;  // the first processor graph; four processors

class GraphControlsTest : public ::testing::Test {
 protected:
  GraphControlsTest() {
    LoadTranslations(kEnglish);
    for (const int graph : {301, 302, 303, 304, 305, 306, 307, 308, 400, 401, 402, 403, 810})
      graphs.Create(graph, kWidth);
    settings.Set(opt::FirstProcessorGraph, kCpu0);
    settings.Set(opt::ProcessorCount, 4);
    controls.OnLookChanged([this] { ++redraws; });
    controls.Install(dispatcher);
  }
  void Send(EventKind kind, int gadget, int detail, int x = 0) {
    static_cast<void>(dispatcher.Dispatch({kind, gadget::MainWindow, gadget, detail, {x, 20}}));
  }
  void Press(Command command) { Send(EventKind::Shortcut, 0, static_cast<int>(command)); }
  // The title message queued by a mouse move, if any.
  std::wstring Hover(int graph, int x) {
    Send(EventKind::Gadget, graph, static_cast<int>(platform::GadgetAction::MouseMove), x);
    const std::vector<WindowUpdate> queued = updates.TakeAll();
    return queued.empty() ? L"" : queued.back().Text;
  }
  GraphRecord Graph(int id) { return graphs.Snapshot(id).value(); }

  fakes::FakeClock clock;
  fakes::FakeGui gui;
  fakes::FakeEnvironment environment;
  Settings settings;
  TextSlots texts;
  TrayIcon tray{gui, settings};
  EventDispatcher dispatcher{gui, settings, texts, environment, tray};
  GraphStore graphs{clock};
  WindowUpdateQueue updates;
  GraphControls controls{graphs, settings, updates};
  int redraws = 0;
};

TEST_F(GraphControlsTest, CtrlSSwitchesTheSmoothingOfTheSeriesGraphsOnly) {
  Press(Command::ToggleGraphSmoothing);
  EXPECT_EQ(Graph(301).Smoothing, 1);
  EXPECT_EQ(Graph(308).Smoothing, 1);
  EXPECT_EQ(Graph(kCpu0).Smoothing, 0);
  EXPECT_EQ(Graph(810).Smoothing, 0);  // past the gap after 308
  Press(Command::ToggleGraphSmoothing);
  EXPECT_EQ(Graph(308).Smoothing, 0);
}

TEST_F(GraphControlsTest, CtrlIInvertsTheColoursOfTheSeriesAndProcessorGraphsAndDrawsThemAgain) {
  graphs.SetAttribute(302, 5, 0x3C14DC);
  Press(Command::InvertGraphColours);
  const GraphRecord page = Graph(302);
  EXPECT_EQ((std::vector<Colour>{page.Background, page.OuterGrid, page.InnerGrid, page.Line}),
            (std::vector<Colour>{0x000000, 0x7F7F7F, 0x1F1F1F, 0xC3EB23}));
  EXPECT_EQ(Graph(308).Background, 0x000000u);
  EXPECT_EQ(Graph(kCpu0 + 3).Background, 0x000000u);
  EXPECT_EQ(Graph(810).Background, 0xFFFFFFu);
  Press(Command::InvertGraphColours);
  EXPECT_EQ(Graph(302).Line, 0x3C14DCu);
  EXPECT_EQ(redraws, 2);
}

// The colours an import applies show the way Ctrl+I shows them, until Ctrl+I turns them back.
TEST_F(GraphControlsTest, ColoursTakenAfterCtrlIStayInverted) {
  for (const int graph : {302, kCpu0, 810})
    settings.Set(graph, 0x3C14DC);
  Press(Command::InvertGraphColours);
  TakeGraphColours(graphs, settings);
  EXPECT_EQ(Graph(302).Line, 0xC3EB23u);
  EXPECT_EQ(Graph(kCpu0).Line, 0xC3EB23u);
  EXPECT_EQ(Graph(810).Line, 0x3C14DCu);  // never inverted
  Press(Command::InvertGraphColours);
  EXPECT_EQ(Graph(302).Line, 0x3C14DCu);
  EXPECT_EQ(Graph(302).Background, 0xFFFFFFu);
}

TEST_F(GraphControlsTest, TheSampleUnderTheMouseShowsAsATitleMessageOncePerColumn) {
  for (const float value : {10.4f, 20.5f, 30.0f}) {
    graphs.AddSample(303, value);
    graphs.AddSample(304, value * 100);
    graphs.AddSample(kCpu0, value);
    ++clock.Now;
  }
  // The newest sample stands in the last column, one pixel from the right edge.
  EXPECT_EQ(Hover(303, kWidth - 1), L"Position: 1/2 = 2024-03-09  14:05:09  30%");
  EXPECT_EQ(Hover(303, kWidth - 1), L"");  // the same column again
  EXPECT_EQ(Hover(303, kWidth - 2), L"Position: 2/2 = 2024-03-09  14:05:08  21%");
  EXPECT_EQ(Hover(304, kWidth - 2), L"Position: 2/2 = 2024-03-09  14:05:08  2050KB");
  EXPECT_EQ(Hover(304, kWidth - 3), L"");  // no sample stands there
  EXPECT_EQ(Hover(kCpu0, kWidth - 3), L"");
  EXPECT_EQ(Hover(kCpu0, kWidth - 1), L"Position: 1/2 = 2024-03-09  14:05:09  30%");
}

}  // namespace
}  // namespace tarvik
