#include <gtest/gtest.h>

#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "platform/layout_scale.h"
#include "settings/defaults.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/graph_view.h"
#include "ui/main_window.h"

namespace tarvik {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void Build(int processors) {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, processors, 0);
    settings.Set(opt::PowerLibraryPresent, 1);
    settings.Set(opt::PdhLibraryPresent, 1);
    fonts = LoadFonts(gui);
    BuildMainWindow(gui, fonts, settings, graphs, false);
  }
  std::vector<std::wstring> Titles(int list) {
    std::vector<std::wstring> titles;
    for (const platform::ListColumn& column : gui.ListColumns(list))
      titles.push_back(column.Title);
    return titles;
  }
  std::wstring TextsOn(int canvas) {
    std::wstring all;
    for (const auto& drawn : gui.Gadgets[canvas].Pixels->Texts())
      all += drawn.Text;
    return all;
  }

  fakes::FakeGui gui;
  fakes::FakeClock clock;
  Settings settings;
  GraphStore graphs{clock};
  Fonts fonts;
};

TEST_F(MainWindowTest, EveryListHasItsColumnsAndFillsItsWidth) {
  Build(4);
  // A list that can get more rows than it shows leaves 17 units for its vertical scroll bar.
  struct Case {
    int List;
    int Tab;
    std::vector<std::wstring> Titles;
    int ScrollRoom;
  };
  const Case cases[] = {
      {gadget::BatteryList, gadget::SystemPanel, {L"Battery", L"Uptime", L"Idle"}, 0},
      {gadget::PhysicalList, gadget::SystemPanel, {L"Physical Memory", L"Free", L"Used"}, 17},
      {gadget::ProcessorsList, gadget::SystemPanel, {L"Processors", L"Avg%", L"Speed"}, 17},
      {gadget::SystemEventsList, gadget::SystemPanel, {L"System Events"}, 17},
      {gadget::ProcessorLoadList,
       gadget::ProcessorsPanel,
       {L"Speed", L"Load%", L"Processes", L"Threads", L"Handles", L"P-State", L"C-States"},
       0},
      {gadget::DriveList,
       gadget::StoragePanel,
       {L"Drive ID", L"Free", L"LastDiff", L"TotalDiff", L"Used"},
       17},
      {gadget::NetworkEventsList, gadget::NetworksPanel, {L"Network Events"}, 17},
      {gadget::DriveEventsList, gadget::StoragePanel, {}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Titles(c.List), c.Titles) << c.List;
    EXPECT_EQ(gui.Gadgets[c.List].Parent.Tab, c.Tab) << c.List;
    int width = 0;
    for (const platform::ListColumn& column : gui.ListColumns(c.List))
      width += column.Width;
    if (!c.Titles.empty()) {
      EXPECT_EQ(width + 4 + c.ScrollRoom, gui.Gadgets[c.List].Bounds.Width) << c.List;
    }
  }
  EXPECT_EQ(gui.ListColumns(gadget::ProcessorLoadList)[6].Width, 330);
  EXPECT_EQ(gui.Gadgets[gadget::StorageUnitSelector].Rows,
            (std::vector<std::wstring>{L"Auto", L"Byte", L"KB", L"MB", L"GB", L"TB"}));
}

TEST_F(MainWindowTest, EightProcessorsGetAFourByTwoGridOfLabelledGraphs) {
  Build(8);
  EXPECT_EQ(settings.Get(opt::ProcessorGridColumns), 4);
  EXPECT_EQ(settings.Get(opt::ProcessorGridRows), 2);
  for (int processor = 0; processor < 8; ++processor) {
    const int id = 400 + processor;
    ASSERT_EQ(gui.Gadgets.count(id), 1u) << processor;
    EXPECT_EQ(gui.Gadgets[id].Parent.Tab, gadget::ProcessorsPanel);
    EXPECT_EQ(TextsOn(id), L"") << "drawn only once its tab shows";
    ASSERT_TRUE(graphs.Snapshot(id).has_value());
    EXPECT_EQ(graphs.Snapshot(id)->Capacity, gui.Gadgets[id].Bounds.Width);
  }
  EXPECT_EQ(gui.Gadgets.count(408), 0u);
  EXPECT_EQ(gui.Gadgets[401].Bounds.X - gui.Gadgets[400].Bounds.X,
            gui.Gadgets[400].Bounds.Width + settings.Get(opt::ProcessorGridGap));
  EXPECT_EQ(gui.Gadgets[404].Bounds.Y - gui.Gadgets[400].Bounds.Y,
            gui.Gadgets[400].Bounds.Height + settings.Get(opt::ProcessorGridGap));
  EXPECT_NE(TextsOn(gadget::TimeSpanCanvas).find(L"seconds"), std::wstring::npos);
  EXPECT_EQ(TextsOn(gadget::StatusCanvas), L"");
}

TEST_F(MainWindowTest, TheGraphsTakeTheirColoursAndTitles) {
  Build(2);
  for (const int id : {301, 302, 303, 307, 304, 308, 305, 306}) {
    const auto record = graphs.Snapshot(id);
    ASSERT_TRUE(record.has_value()) << id;
    EXPECT_EQ(record->Line, static_cast<Colour>(settings.Get(id))) << id;
    EXPECT_EQ(record->TimeDivisions, id == 301 || id == 302 || id == 303 || id == 307 ? 10 : 0)
        << id;
  }
  EXPECT_EQ(TextsOn(gadget::PhysicalGraph), L"") << "drawn only once its tab shows";
  ShowGraphOf(gui, graphs, gadget::PhysicalGraph);
  ShowGraphOf(gui, graphs, gadget::DriveWriteGraph);
  EXPECT_NE(TextsOn(gadget::PhysicalGraph).find(L"Physical"), std::wstring::npos);
  EXPECT_NE(TextsOn(gadget::DriveWriteGraph).find(L"Writing"), std::wstring::npos);
  // Every text of a graph, a processor's too, is drawn in the gadgets' font.
  ShowGraph(gui, graphs, settings.Get(opt::FirstProcessorGraph), L"%", {L"CPU 0", L"1%", L""});
  for (const int id : {gadget::PhysicalGraph, settings.Get(opt::FirstProcessorGraph)}) {
    for (const auto& text : gui.Gadgets[id].Pixels->Texts())
      EXPECT_EQ(text.Font, fonts.Gadget) << id;
  }
}

bool Overlap(const platform::Rect& a, const platform::Rect& b) {
  return a.X < b.Right() && b.X < a.Right() && a.Y < b.Bottom() && b.Y < a.Bottom();
}

bool Inside(const platform::Rect& inner, const platform::Rect& outer) {
  return inner.X >= outer.X && inner.Y >= outer.Y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

// At every DPI the window may be laid out at, each tab's controls lie inside the page below the
// tabs and none covers another, except a group's frame around its own controls; the panel lies
// inside the client area. (The page's real height comes from the tabs' font: the end-to-end
// test measures it on the running program.)
TEST_F(MainWindowTest, AtEveryScaleEachTabsControlsLieInsideItsPageAndApart) {
  Build(64);
  // The page the tab control leaves below its tabs at 96 DPI (measured under Wine), in the
  // page's own coordinates.
  constexpr platform::Rect kPage{0, 0, 882, 534};
  const platform::Rect client{0, 0, kMainWindowSize.Width, kMainWindowSize.Height};
  for (const int dpi : {77, 96, 120, 129, 144, 168, 192, 240}) {
    const auto at = [dpi](const platform::Rect& base) { return platform::ScaledBox(base, dpi); };
    EXPECT_TRUE(Inside(at(gui.Gadgets[gadget::MainPanel].Bounds), at(client))) << dpi;
    for (const auto& [id, gadget] : gui.Gadgets) {
      if (gadget.Parent.Tab < 0)
        continue;
      EXPECT_TRUE(Inside(at(gadget.Bounds), at(kPage))) << dpi << " gadget " << id;
      for (const auto& [otherId, other] : gui.Gadgets) {
        if (otherId <= id || other.Parent.Tab != gadget.Parent.Tab)
          continue;
        const bool framed =
            (gadget.Kind == "frame") != (other.Kind == "frame") &&
            (Inside(gadget.Bounds, other.Bounds) || Inside(other.Bounds, gadget.Bounds));
        EXPECT_TRUE(framed || !Overlap(at(gadget.Bounds), at(other.Bounds)))
            << dpi << " gadgets " << id << " and " << otherId;
      }
    }
  }
}

TEST_F(MainWindowTest, MissingLibrariesAreNamedOnTheProcessorsTab) {
  LoadTranslations(kEnglish);
  ApplyDefaults(settings, 2, 0);
  BuildMainWindow(gui, {}, settings, graphs, false);
  EXPECT_EQ(TextsOn(gadget::StatusCanvas),
            L"Unable to load powrprof.dll and pdh.dll for full CPU statistics");
}

}  // namespace
}  // namespace tarvik
