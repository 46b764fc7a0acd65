#include "ui/main_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/version.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/gpu_graphs.h"
#include "ui/graph_attributes.h"
#include "ui/graph_view.h"
#include "ui/ping_tab.h"
#include "ui/processor_captions.h"
#include "ui/processor_grid.h"
#include "ui/settings_tab.h"
#include "ui/window_placement.h"

namespace tarvik {
namespace {

constexpr const wchar_t* kTabNames[gadget::kPanelCount] = {
    L"System", L"Processors", L"Graphics", L"Storage", L"Networks", L"Ping", L"Settings", L"About"};

// The width a report list leaves its first column: what its other columns and the frame leave,
// and the scroll bar's room in a list taller than its one row.
constexpr int kListFrame = 4;
constexpr int kOneRowListHeight = 46;
constexpr Colour kCaptionBackground = Rgb(240, 240, 240);

std::vector<std::wstring> TabCaptions() {
  std::vector<std::wstring> captions;
  for (int tab = 0; tab < gadget::kPanelCount; ++tab) {
    const std::wstring pad = tab == gadget::PingPanel ? L"  " : L" ";
    captions.push_back(pad + Tr(kTabNames[tab]) + pad);
  }
  return captions;
}

platform::GadgetParent Tab(int tab) {
  return {gadget::MainWindow, gadget::MainPanel, tab};
}

struct ColumnKey {
  const wchar_t* Key;
  int Width;
};

// A report list whose first column takes what the others leave of its width.
void AddList(platform::Gui& gui, int id, int tab, const platform::Rect& bounds,
             std::initializer_list<ColumnKey> columns) {
  std::vector<platform::ListColumn> translated;
  int others = 0;
  for (const ColumnKey& column : columns) {
    translated.push_back({Tr(column.Key), column.Width});
    others += column.Width;
  }
  const int scrollRoom = bounds.Height > kOneRowListHeight ? platform::kListScrollBarRoom : 0;
  translated.front().Width =
      bounds.Width - kListFrame - scrollRoom - (others - columns.begin()->Width);
  gui.CreateList(id, Tab(tab), bounds, translated);
}

struct GraphPlace {
  int Id;
  int Tab;
  platform::Rect Bounds;
  const wchar_t* Title;  // translation key
  const wchar_t* Unit;
};

// The graphs of the System, Storage and Networks tabs; each takes its colour from the option of
// the same number.
constexpr GraphPlace kGraphs[] = {
    {gadget::PhysicalGraph, gadget::SystemPanel, {4, 76, 567, 97}, L"Physical", L"%"},
    {gadget::PageFileGraph, gadget::SystemPanel, {4, 177, 567, 97}, L"Pagefile", L"%"},
    {gadget::ProcessorSpeedGraph, gadget::SystemPanel, {4, 278, 567, 97}, L"CPU Speed", L"%"},
    {gadget::AverageLoadGraph, gadget::SystemPanel, {4, 379, 567, 100}, L"CPU Avg", L"%"},
    {gadget::DriveReadGraph, gadget::StoragePanel, {4, 261, 567, 131}, L"Reading", L"KB"},
    {gadget::DriveWriteGraph, gadget::StoragePanel, {4, 396, 567, 133}, L"Writing", L"KB"},
    {gadget::NetworkSendGraph, gadget::NetworksPanel, {4, 261, 567, 131}, L"Sending", L"KB"},
    {gadget::NetworkReceiveGraph, gadget::NetworksPanel, {4, 396, 567, 133}, L"Receiving", L"KB"},
};
// The System graphs draw ten time divisions.
constexpr int kSystemTimeDivisions = 10;

const GraphPlace* PlaceOfGraph(int id) {
  for (const GraphPlace& place : kGraphs) {
    if (place.Id == id)
      return &place;
  }
  return nullptr;
}

// Graphs label in the gadgets' font.
void BuildGraphs(platform::Gui& gui, const Fonts& fonts, GraphStore& graphs,
                 const Settings& settings) {
  for (const GraphPlace& place : kGraphs) {
    CreateGraph(gui, graphs, place.Id, Tab(place.Tab), place.Bounds, fonts.Gadget);
    if (place.Tab == gadget::SystemPanel)
      graphs.SetAttribute(place.Id, graph_attr::TimeDivisions, kSystemTimeDivisions);
    graphs.SetAttribute(place.Id, graph_attr::LineColour, settings.Get(place.Id));
  }
}

// One line of text on a caption canvas, at its bottom left.
void DrawCaption(platform::Gui& gui, int canvasId, platform::FontId font,
                 const std::wstring& text) {
  gui.DrawCanvas(canvasId, [&](platform::Canvas& canvas) {
    const platform::Size size = canvas.Extent();
    canvas.FillBox({0, 0, size.Width, size.Height}, kCaptionBackground);
    canvas.SetFont(font);
    const platform::Size measured = canvas.TextSize(text);
    canvas.TextTransparent({1, size.Height - measured.Height - 1}, text, 0x000000);
  });
}

std::vector<std::wstring> Translated(std::initializer_list<const wchar_t*> keys) {
  std::vector<std::wstring> texts;
  for (const wchar_t* key : keys)
    texts.push_back(Tr(key));
  return texts;
}

void BuildSystemTab(platform::Gui& gui) {
  const int tab = gadget::SystemPanel;
  gui.CreateCanvas(gadget::LogoCanvas, Tab(tab), {4, 2, kPanelContentWidth, 70});
  AddList(gui, gadget::BatteryList, tab, {4, 483, 567, 46},
          {{L"Battery", 0}, {L"Uptime", 120}, {L"Idle", 217}});
  AddList(gui, gadget::PhysicalList, tab, {573, 76, 309, 97},
          {{L"Physical Memory", 0}, {L"Free", 81}, {L"Used", 81}});
  AddList(gui, gadget::PageFileList, tab, {573, 177, 309, 97},
          {{L"PageFile Memory", 0}, {L"Free", 81}, {L"Used", 81}});
  AddList(gui, gadget::ProcessorsList, tab, {573, 278, 309, 97},
          {{L"Processors", 0}, {L"Avg%", 53}, {L"Speed", 109}});
  AddList(gui, gadget::SystemEventsList, tab, {573, 379, 309, 150}, {{L"System Events", 0}});
}

// One graph per processor in a grid that grows until it holds them all; the grid is kept.
void BuildProcessorGraphs(platform::Gui& gui, const Fonts& fonts, GraphStore& graphs,
                          Settings& settings) {
  ProcessorGridInput input;
  input.Columns = settings.Get(opt::ProcessorGridColumns);
  input.Rows = settings.Get(opt::ProcessorGridRows);
  input.ProcessorCount = settings.Get(opt::ProcessorCount);
  input.AreaWidth = settings.Get(opt::ProcessorGridWidth);
  input.AreaHeight = settings.Get(opt::ProcessorGridHeight);
  input.Gap = settings.Get(opt::ProcessorGridGap);
  input.Origin = {4, settings.Get(opt::ProcessorGridTop)};
  const ProcessorGrid grid = LayOutProcessorGrid(input);
  settings.Set(opt::ProcessorGridColumns, grid.Columns);
  settings.Set(opt::ProcessorGridRows, grid.Rows);
  const int firstGraph = settings.Get(opt::FirstProcessorGraph);
  for (const ProcessorGraphCell& cell : grid.Cells) {
    const int id = firstGraph + cell.Processor;
    CreateGraph(gui, graphs, id, Tab(gadget::ProcessorsPanel), cell.Box, fonts.Gadget);
    for (const GraphAttribute& attribute : cell.Attributes)
      graphs.SetAttribute(id, attribute.Number, attribute.Value);
  }
  StoreProcessorColours(settings, static_cast<int>(grid.Cells.size()));
}

void BuildProcessorsTab(platform::Gui& gui, const Fonts& fonts, Settings& settings,
                        GraphStore& graphs) {
  const int tab = gadget::ProcessorsPanel;
  AddList(gui, gadget::ProcessorInfoList, tab, {4, 2, kPanelContentWidth, 44},
          {{L"Base Speed", 0},
           {L"Brand", 120},
           {L"CPU Description", 440},
           {L"L2 + L3 Cache", 105},
           {L"Cores ( Logicals )", 105}});
  AddList(gui, gadget::ProcessorLoadList, tab, {4, 48, kPanelContentWidth, 44},
          {{L"Speed", 0},
           {L"Load%", 80},
           {L"Processes", 80},
           {L"Threads", 100},
           {L"Handles", 100},
           {L"P-State", 80},
           {L"C-States", 330}});
  // The status line ends where the time-span caption begins, so neither covers the other.
  gui.CreateCanvas(gadget::StatusCanvas, Tab(tab), {4, 96, 504, 14});
  gui.CreateCanvas(gadget::TimeSpanCanvas, Tab(tab), {508, 96, 374, 14});
  BuildProcessorGraphs(gui, fonts, graphs, settings);
  ShowProcessorTimeSpan(gui, fonts, settings);
  ShowStatusMessage(gui, fonts,
                    ProcessorLibraryNotice(settings.IsOn(opt::PowerLibraryPresent),
                                           settings.IsOn(opt::PdhLibraryPresent)));
}

void BuildGraphicsTab(platform::Gui& gui) {
  const int tab = gadget::GraphicsPanel;
  gui.CreateSelector(gadget::GpuSelector, Tab(tab), {4, 2, 567, 22}, {});
  AddList(gui, gadget::GpuList, tab, {4, 28, 567, 96},
          {{L"Graphics ID", 0},
           {L"GPU", 105},
           {L"Memory", 145},
           {L"Temp", 48},
           {L"Fan", 48},
           {L"Power", 70}});
  gui.CreateList(gadget::GpuDetailList, Tab(tab), {573, 2, 309, 527}, {});
  BuildGpuGraphColumn(gui);
}

void BuildStorageTab(platform::Gui& gui) {
  const int tab = gadget::StoragePanel;
  gui.CreateSelector(gadget::StorageUnitSelector, Tab(tab), {4, 2, 65, 22},
                     Translated({L"Auto", L"Byte", L"KB", L"MB", L"GB", L"TB"}));
  gui.CreateSelector(gadget::DriveFilterSelector, Tab(tab), {73, 2, 498, 22}, {});
  AddList(
      gui, gadget::DriveList, tab, {4, 28, 567, 228},
      {{L"Drive ID", 0}, {L"Free", 124}, {L"LastDiff", 84}, {L"TotalDiff", 84}, {L"Used", 124}});
  gui.CreateList(gadget::DriveEventsList, Tab(tab), {573, 2, 309, 527}, {});
}

void BuildNetworksTab(platform::Gui& gui) {
  const int tab = gadget::NetworksPanel;
  gui.CreateSelector(gadget::NetworkUnitSelector, Tab(tab), {4, 2, 65, 22},
                     Translated({L"Bytes", L"Packets"}));
  gui.CreateSelector(gadget::AdapterFilterSelector, Tab(tab), {73, 2, 498, 22}, {});
  AddList(gui, gadget::AdapterList, tab, {4, 28, 567, 228},
          {{L"Network ID", 0},
           {L"Sent", 82},
           {L"Sent Total", 122},
           {L"Received", 82},
           {L"Received Total", 122}});
  gui.CreateList(gadget::AdapterDetailList, Tab(tab), {573, 2, 309, 373}, {});
  AddList(gui, gadget::NetworkEventsList, tab, {573, 379, 309, 150}, {{L"Network Events", 0}});
}

void BuildAboutTab(platform::Gui& gui, const Fonts& fonts) {
  const platform::GadgetParent about = Tab(gadget::AboutPanel);
  gui.CreateText(gadget::AboutTitleText, about, {15, 20, 854, 30}, kProgramTitle);
  gui.SetGadgetFont(gadget::AboutTitleText, fonts.Tahoma12Bold);
  gui.CreateText(gadget::AboutMakerText, about, {15, 60, 854, 20}, kMakerLine);
  gui.SetGadgetFont(gadget::AboutMakerText, fonts.Tahoma10);
  gui.CreateCanvas(gadget::OwnCostCanvas, about, {15, 90, 854, 200});
  gui.CreateCanvas(gadget::FileStatusCanvas, about, {15, 449, 854, 71});
}

}  // namespace

int TabOfGraph(int id) {
  const GraphPlace* place = PlaceOfGraph(id);
  return place ? place->Tab : -1;
}

void ShowGraphOf(platform::Gui& gui, GraphStore& graphs, int id, const GraphValues& values) {
  if (const GraphPlace* place = PlaceOfGraph(id))
    ShowGraph(gui, graphs, id, place->Unit, {Tr(place->Title), values.Second, values.Third});
}

// A processor graph keeps one sample per pixel column, so the span is the canvas's pixel width.
void ShowProcessorTimeSpan(platform::Gui& gui, const Fonts& fonts, const Settings& settings) {
  const int width = gui.CanvasExtent(settings.Get(opt::FirstProcessorGraph)).Width;
  DrawCaption(gui, gadget::TimeSpanCanvas, fonts.Gadget, ProcessorTimeSpanCaption(width));
}

void ShowStatusMessage(platform::Gui& gui, const Fonts& fonts, const std::wstring& message) {
  DrawCaption(gui, gadget::StatusCanvas, fonts.Gadget, message);
}

void BuildMainWindow(platform::Gui& gui, const Fonts& fonts, Settings& settings, GraphStore& graphs,
                     bool visible) {
  const platform::Size desktop = gui.DesktopSize();
  platform::WindowSpec layout;
  layout.Bounds = {std::max(0, (desktop.Width - kMainWindowSize.Width) / 2),
                   std::max(0, (desktop.Height - kMainWindowSize.Height) / 2),
                   kMainWindowSize.Width, kMainWindowSize.Height};
  layout.Title = kProgramTitle;
  layout.Visible = visible;
  if (!gui.OpenWindow(gadget::MainWindow, layout))
    return;
  // Laid out smaller to fit its work area, the window is moved back into it where it sticks out.
  const platform::Rect opened = gui.WindowBounds(gadget::MainWindow);
  const platform::Point inside = InsideWorkArea(opened, gui.WorkAreaOf(gadget::MainWindow));
  if (inside != platform::Point{opened.X, opened.Y})
    gui.MoveWindow(gadget::MainWindow, inside);
  gui.CreatePanel(gadget::MainPanel, {gadget::MainWindow}, {2, 2, 890, kMainWindowSize.Height - 4},
                  TabCaptions());
  BuildSystemTab(gui);
  BuildProcessorsTab(gui, fonts, settings, graphs);
  BuildGraphicsTab(gui);
  BuildStorageTab(gui);
  BuildNetworksTab(gui);
  BuildPingTab(gui, settings);
  BuildGraphs(gui, fonts, graphs, settings);
  BuildSettingsTab(gui);
  BuildAboutTab(gui, fonts);
}

}  // namespace tarvik
