#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/layout_scale.h"
#include "platform/win32/win32_gui.h"

namespace tarvik::win32 {
namespace {

using platform::EventKind;

constexpr int kWindow = 100;
constexpr int kOther = 101;

struct RecordingHandler : platform::MessageHandler {
  std::vector<platform::SystemMessage> Seen;
  int Counted = 0;
  void CountMessage() override { ++Counted; }
  bool OnSystemMessage(const platform::SystemMessage& message) override {
    Seen.push_back(message);
    return true;
  }
};

class Win32GuiTest : public ::testing::Test {
 protected:
  Win32GuiTest() {
    platform::WindowSpec layout;
    layout.Bounds = {50, 60, 234, 84};
    layout.Title = L"Tarvik test window";
    layout.Visible = false;
    EXPECT_TRUE(gui.OpenWindow(kWindow, layout));
    layout.Title = L"Tarvik other window";
    EXPECT_TRUE(gui.OpenWindow(kOther, layout));
  }

  HWND Handle(int id) {
    const std::wstring title = gui.WindowTitle(id);
    return ::FindWindowW(L"TarvikWindow", title.c_str());
  }

  // Pumps until an event of the kind arrives, within a time limit.
  platform::GuiEvent WaitFor(EventKind kind) {
    for (int tries = 0; tries < 20; ++tries) {
      const platform::GuiEvent event = gui.WaitEvent(100);
      if (event.Kind == kind)
        return event;
    }
    return {};
  }

  Win32Gui gui;
};

TEST_F(Win32GuiTest, WindowsGetTheirClientSizeAndTitle) {
  RECT client{};
  ASSERT_TRUE(::GetClientRect(Handle(kWindow), &client));
  EXPECT_EQ(client.right, 234);
  EXPECT_EQ(client.bottom, 84);
  const platform::Rect outer = gui.WindowBounds(kWindow);
  EXPECT_EQ(outer.X, 50);
  EXPECT_GE(outer.Width, 234);
  gui.SetWindowTitle(kWindow, L"Shutting Down Tarvik v2.33");
  EXPECT_EQ(gui.WindowTitle(kWindow), L"Shutting Down Tarvik v2.33");
}

TEST_F(Win32GuiTest, CloseAndMinimizeBecomeEventsInsteadOfActions) {
  ::PostMessageW(Handle(kWindow), WM_CLOSE, 0, 0);
  const platform::GuiEvent close = WaitFor(EventKind::Close);
  EXPECT_EQ(close.Window, kWindow);
  EXPECT_TRUE(gui.WindowExists(kWindow));

  ::PostMessageW(Handle(kOther), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(WaitFor(EventKind::Minimize).Window, kOther);
  EXPECT_FALSE(gui.IsWindowMinimized(kOther));
}

TEST_F(Win32GuiTest, ShortcutsAreMatchedPerWindowBeforeTheWindowSeesTheKey) {
  gui.AddShortcut(kWindow, {platform::Key::F5, false, false}, 7);
  gui.AddShortcut(kOther, {platform::Key::F6, false, false}, 8);
  ::PostMessageW(Handle(kOther), WM_KEYDOWN, VK_F5, 0);  // not registered there
  ::PostMessageW(Handle(kWindow), WM_KEYDOWN, VK_F5, 0);
  const platform::GuiEvent event = WaitFor(EventKind::Shortcut);
  EXPECT_EQ(event.Window, kWindow);
  EXPECT_EQ(event.Detail, 7);
}

TEST_F(Win32GuiTest, SystemMessagesReachTheHandlerFromItsWindowOnly) {
  RecordingHandler handler;
  const uint32_t activate = gui.RegisterMessage(L"WM_ACTIVATEOLDINST_TK");
  gui.SetMessageHandler(&handler, kWindow);
  ::SendMessageW(Handle(kOther), activate, 0, 0);
  EXPECT_TRUE(handler.Seen.empty());
  ::SendMessageW(Handle(kWindow), activate, 0, 0);
  ASSERT_EQ(handler.Seen.size(), 1u);
  EXPECT_EQ(handler.Seen[0].Kind, platform::SystemMessageKind::Registered);
  EXPECT_EQ(handler.Seen[0].RegisteredId, activate);
  EXPECT_GT(handler.Counted, 1);  // every message of every window is counted

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << 4;
  ::SendMessageW(Handle(kWindow), WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                 reinterpret_cast<LPARAM>(&volume));
  ASSERT_EQ(handler.Seen.size(), 2u);
  EXPECT_EQ(handler.Seen[1].Kind, platform::SystemMessageKind::VolumeArrival);
  EXPECT_EQ(handler.Seen[1].UnitMask, 1u << 4);

  EXPECT_EQ(::SendMessageW(Handle(kWindow), WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_EQ(handler.Seen.back().Kind, platform::SystemMessageKind::QueryEndSession);
  gui.SetMessageHandler(nullptr, kWindow);
}

TEST_F(Win32GuiTest, PanelsSwitchTheirPagesWhenSelected) {
  gui.CreatePanel(127, {kWindow}, {2, 2, 200, 70}, {L" System ", L" About "});
  gui.CreateText(161, {kWindow, 127, 1}, {5, 5, 100, 20}, L"on the About page");
  EXPECT_EQ(gui.SelectedPanelTab(127), 0);
  gui.SelectPanelTab(127, 1);
  EXPECT_EQ(gui.SelectedPanelTab(127), 1);
  EXPECT_EQ(gui.GadgetText(161), L"on the About page");
  gui.SelectPanelTab(127, 5);  // no such tab: nothing changes
  EXPECT_EQ(gui.SelectedPanelTab(127), 1);
}

// Tab walks the tab control and the enabled controls of the page in view, wrapping at the end.
TEST_F(Win32GuiTest, TabMovesTheFocusThroughThePageInView) {
  gui.ShowWindow(kWindow, platform::ShowMode::Normal);
  gui.CreatePanel(127, {kWindow}, {2, 2, 220, 78}, {L" System ", L" About "});
  gui.CreateTextField(170, {kWindow, 127, 0}, {5, 5, 60, 20}, L"C:\\", false);
  gui.CreateCheckBox(171, {kWindow, 127, 0}, {70, 5, 60, 20}, L"on");
  gui.CreateCheckBox(172, {kWindow, 127, 0}, {135, 5, 60, 20}, L"off");
  gui.EnableGadget(172, false);
  gui.CreateButton(173, {kWindow, 127, 1}, {5, 5, 60, 20}, L"About");
  HWND field = nullptr;
  ::EnumChildWindows(
      Handle(kWindow),
      [](HWND child, LPARAM found) {
        if (::GetDlgCtrlID(child) == 170)
          *reinterpret_cast<HWND*>(found) = child;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&field));
  ASSERT_NE(field, nullptr);
  ::SetFocus(field);
  const int expected[] = {171, 127, 170};
  for (const int id : expected) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    while (gui.WaitEvent(50).Kind != EventKind::None) {
    }
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), id);
  }
}

TEST_F(Win32GuiTest, CanvasesAcceptDrawingFromAnotherThread) {
  gui.CreateCanvas(105, {kWindow}, {0, 0, 50, 20});
  bool drawn = false;
  std::thread worker([&] {
    gui.DrawCanvas(105, [&](platform::Canvas& canvas) {
      canvas.FillBox({0, 0, 50, 20}, 0x00FF00);
      drawn = canvas.Extent().Width == 50;
    });
  });
  worker.join();
  EXPECT_TRUE(drawn);
  gui.DrawCanvas(999, [&](platform::Canvas&) { drawn = false; });  // unknown canvases are skipped
  EXPECT_TRUE(drawn);
}

// Only what a drawing or a list change altered waits to be painted.
TEST_F(Win32GuiTest, OnlyChangedPixelsAndRowsArePaintedAgain) {
  gui.ShowWindow(kWindow, platform::ShowMode::Normal);
  gui.CreateCanvas(105, {kWindow}, {0, 0, 50, 20});
  gui.CreateList(129, {kWindow}, {0, 20, 200, 60}, {{L"Row", 100}});
  const HWND canvas = ::GetDlgItem(Handle(kWindow), 105);
  const HWND list = ::GetDlgItem(Handle(kWindow), 129);
  ASSERT_TRUE(canvas && list);
  const auto pending = [](HWND hwnd) {
    RECT box{};
    return ::GetUpdateRect(hwnd, &box, FALSE) ? box : RECT{};
  };
  const auto fill = [&](const platform::Rect& box) {
    gui.DrawCanvas(105, [&](platform::Canvas& c) {
      c.FillBox({0, 0, 50, 20}, 0xFFFFFF);
      c.FillBox(box, 0x0000FF);
    });
  };
  fill({10, 5, 3, 2});
  ::ValidateRect(canvas, nullptr);
  fill({10, 5, 3, 2});
  EXPECT_EQ(pending(canvas).right, 0);
  fill({10, 5, 3, 3});
  const RECT pixels = pending(canvas);
  EXPECT_EQ(std::vector<LONG>({pixels.left, pixels.top, pixels.right, pixels.bottom}),
            std::vector<LONG>({10, 7, 13, 8}));

  gui.SetListRows(129, {L"a", L"b", L"c"});
  ::ValidateRect(list, nullptr);
  gui.SetListRows(129, {L"a", L"b", L"c"});
  EXPECT_EQ(pending(list).bottom, 0);
  gui.SetListRows(129, {L"a", L"x", L"c"});
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  ::SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  const RECT rows = pending(list);
  EXPECT_EQ(std::vector<LONG>({rows.top, rows.bottom}), std::vector<LONG>({row.top, row.bottom}));
}

// The client area ends where the canvas ends, also for a window restored from its icon.
TEST_F(Win32GuiTest, AWindowIsFittedAroundItsCanvas) {
  gui.CreateCanvas(105, {kWindow}, {0, 0, 50, 20});
  gui.FitWindowToCanvas(kWindow, 105, {120, 45});
  RECT client{};
  ASSERT_TRUE(::GetClientRect(Handle(kWindow), &client));
  EXPECT_EQ(client.right, 120);
  EXPECT_EQ(client.bottom, 45);

  gui.ShowWindow(kWindow, platform::ShowMode::Normal);
  gui.ShowWindow(kWindow, platform::ShowMode::Minimize);
  gui.FitWindowToCanvas(kWindow, 105, {130, 50});
  EXPECT_TRUE(gui.IsWindowMinimized(kWindow));
  gui.ShowWindow(kWindow, platform::ShowMode::Normal);
  ASSERT_TRUE(::GetClientRect(Handle(kWindow), &client));
  EXPECT_EQ(client.right, 130);
  EXPECT_EQ(client.bottom, 50);
}

TEST_F(Win32GuiTest, AWakeFromAWorkerReachesTheEventLoop) {
  std::thread worker([&] {
    EXPECT_TRUE(gui.Wake());
    EXPECT_TRUE(gui.Wake());
  });
  worker.join();
  EXPECT_EQ(WaitFor(EventKind::Wake).Kind, EventKind::Wake);
}

// Workers draw text while the window thread loads fonts: the font table must stay whole.
TEST_F(Win32GuiTest, CanvasesFindTheirFontsWhileMoreAreLoaded) {
  gui.CreateCanvas(105, {kWindow}, {0, 0, 200, 20});
  const platform::FontId first = gui.LoadFont(L"Tahoma", 10, platform::FontStyle::Normal);
  std::atomic<bool> done{false};
  std::atomic<int> measured{0};
  std::thread worker([&] {
    while (!done.load()) {
      gui.DrawCanvas(105, [&](platform::Canvas& canvas) {
        canvas.SetFont(first);
        if (canvas.TextSize(L"Tarvik").Width > 0)
          measured.fetch_add(1);
      });
    }
  });
  // Fonts keep coming until the worker has drawn a good number of times meanwhile.
  constexpr int kDrawsWanted = 20;
  constexpr int kMostFonts = 3000;
  for (int font = 0; font < kMostFonts && measured.load() < kDrawsWanted; ++font) {
    EXPECT_NE(gui.LoadFont(L"Tahoma", 8 + font % 5, platform::FontStyle::Normal),
              platform::kNoFont);
    std::this_thread::yield();
  }
  done = true;
  worker.join();
  EXPECT_GE(measured.load(), kDrawsWanted);
}

// Windows parks a minimised window far off-screen; the program sees and moves the place it will
// be restored at.
TEST_F(Win32GuiTest, AMinimizedWindowReportsAndMovesItsRestoredPlace) {
  gui.ShowWindow(kWindow, platform::ShowMode::Normal);
  gui.MoveWindow(kWindow, {300, 200});
  const platform::Rect normal = gui.WindowBounds(kWindow);
  gui.ShowWindow(kWindow, platform::ShowMode::Minimize);
  ASSERT_TRUE(gui.IsWindowMinimized(kWindow));
  EXPECT_EQ(gui.WindowBounds(kWindow), normal);

  gui.MoveWindow(kWindow, {310, 190});
  EXPECT_TRUE(gui.IsWindowMinimized(kWindow));
  gui.ShowWindow(kWindow, platform::ShowMode::Normal);
  const platform::Rect restored = gui.WindowBounds(kWindow);
  EXPECT_EQ(restored.X, 310);
  EXPECT_EQ(restored.Y, 190);
  EXPECT_EQ(restored.Width, normal.Width);
}

TEST_F(Win32GuiTest, ListsShowTheirRowsColumnByColumn) {
  gui.CreateList(129, {kWindow}, {0, 0, 200, 80}, {{L"Drive", 60}, {L"Free", 80}});
  gui.SetListRows(129, {L"C:\n10 GB", L"D:\n2 GB\nignored third column", L"E:"});
  const HWND list = ::GetDlgItem(Handle(kWindow), 129);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  const auto cell = [&](int row, int column) {
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return std::wstring(text);
  };
  EXPECT_EQ(cell(0, 0), L"C:");
  EXPECT_EQ(cell(0, 1), L"10 GB");
  EXPECT_EQ(cell(1, 1), L"2 GB");
  EXPECT_EQ(cell(2, 1), L"");
  gui.SetListRows(129, {});
  EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(gui.ListColumns(129).size(), 2u);
}

TEST_F(Win32GuiTest, ControlsKeepTheirStateAndReportWhatTheUserDoes) {
  gui.CreateSelector(184, {kWindow}, {0, 0, 100, 20}, {L"1 Minute", L"2 Minutes"});
  gui.SelectItem(184, 1);
  EXPECT_EQ(gui.SelectedItem(184), 1);
  gui.SetSelectorItems(184, {L"Disabled"});
  EXPECT_EQ(gui.SelectedItem(184), -1);

  gui.CreateCheckBox(170, {kWindow}, {0, 30, 100, 20}, L"Enable Sound");
  for (const auto state : {platform::CheckState::Checked, platform::CheckState::Indeterminate,
                           platform::CheckState::Unchecked}) {
    gui.SetCheckState(170, state);
    EXPECT_EQ(gui.GetCheckState(170), state);
  }
  // A click reports itself and leaves the state to the program.
  ::SendMessageW(::GetDlgItem(Handle(kWindow), 170), BM_CLICK, 0, 0);
  const platform::GuiEvent click = WaitFor(EventKind::Gadget);
  EXPECT_EQ(click.Gadget, 170);
  EXPECT_EQ(click.Detail, static_cast<int>(platform::GadgetAction::Click));
  EXPECT_EQ(gui.GetCheckState(170), platform::CheckState::Unchecked);

  gui.CreateSlider(191, {kWindow}, {0, 60, 100, 20}, 1, 9);
  gui.SetSliderPosition(191, 8);
  EXPECT_EQ(gui.SliderPosition(191), 8);

  gui.CreateTextField(192, {kWindow}, {0, 90, 100, 20}, L"C:\\Logs\\", true);
  EXPECT_EQ(gui.GadgetText(192), L"C:\\Logs\\");
  gui.CreateButton(193, {kWindow}, {0, 120, 100, 20}, L"Set");
  gui.EnableGadget(193, false);
  EXPECT_FALSE(gui.IsGadgetEnabled(193));
  gui.EnableGadget(193, true);
  EXPECT_TRUE(gui.IsGadgetEnabled(193));
  gui.SetTooltip(193, L"Set new log folder location");
  gui.SetTooltip(193, L"Set new log folder location");  // replaces, never doubles
  const HWND tooltip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(Win32GuiTest, TimersBecomeEventsOfTheirWindow) {
  gui.StartTimer(kOther, 3, 10);
  const platform::GuiEvent timer = WaitFor(EventKind::Timer);
  EXPECT_EQ(timer.Window, kOther);
  EXPECT_EQ(timer.Detail, 3);
}

RECT ClientRectOf(HWND window, HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The system says the window's monitor is now at 144 DPI and suggests a place: the window takes
// it, its gadgets, list columns and canvases are laid out at 150 %, its text is drawn in a font
// made for that size (not stretched), and the program hears that its canvases wait to be drawn.
TEST_F(Win32GuiTest, ADpiChangeLaysTheWindowOutAgainAtTheSuggestedPlace) {
  gui.CreateCanvas(105, {kWindow}, {10, 10, 100, 40});
  gui.CreateButton(146, {kWindow}, {120, 10, 60, 24}, L"Add");
  gui.CreateList(129, {kWindow}, {10, 54, 200, 30}, {{L"Drive", 60}, {L"Free", 80}});
  const platform::FontId font = gui.LoadFont(L"Tahoma", 10, platform::FontStyle::Normal);
  const auto textHeight = [&] {
    int height = 0;
    gui.DrawCanvas(105, [&](platform::Canvas& canvas) {
      canvas.SetFont(font);
      height = canvas.TextSize(L"Tarvik").Height;
    });
    return height;
  };
  const int heightAt96 = textHeight();
  const HWND window = Handle(kWindow);
  RECT suggested{300, 200, 300 + 365, 200 + 160};
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(gui.WindowDpi(kWindow), 144);
  RECT outer{};
  RECT client{};
  ASSERT_TRUE(::GetWindowRect(window, &outer) && ::GetClientRect(window, &client));
  EXPECT_EQ(outer.left, 300);
  EXPECT_EQ(outer.top, 200);
  EXPECT_EQ(client.right, 351);
  EXPECT_EQ(client.bottom, 126);
  EXPECT_EQ(gui.CanvasExtent(105), (platform::Size{150, 60}));
  const RECT button = ClientRectOf(window, ::GetDlgItem(window, 146));
  EXPECT_EQ(button.left, 180);
  EXPECT_EQ(button.top, 15);
  EXPECT_EQ(button.right - button.left, 90);
  EXPECT_EQ(button.bottom - button.top, 36);
  // The first column takes what the other (120), the frame (6) and the scroll bar's room leave.
  EXPECT_EQ(::SendMessageW(::GetDlgItem(window, 129), LVM_GETCOLUMNWIDTH, 1, 0), 120);
  EXPECT_EQ(::SendMessageW(::GetDlgItem(window, 129), LVM_GETCOLUMNWIDTH, 0, 0),
            300 - 6 - std::max(26, ::GetSystemMetrics(SM_CXVSCROLL)) - 120);
  EXPECT_NEAR(textHeight(), heightAt96 * 3 / 2, 1);
  EXPECT_EQ(WaitFor(EventKind::Rescaled).Detail, 144);
}

// A DPI change comes from outside the program: one it cannot believe changes nothing.
TEST_F(Win32GuiTest, ADpiChangeThatCannotBeBelievedIsIgnored) {
  const HWND window = Handle(kWindow);
  RECT before{};
  ::GetWindowRect(window, &before);
  RECT good{300, 200, 665, 360};
  RECT empty{300, 200, 300, 200};
  struct Case {
    const char* Name;
    WORD Dpi;
    RECT* Suggested;
  };
  const Case cases[] = {{"a DPI of 5000", 5000, &good},
                        {"a DPI of 0", 0, &good},
                        {"no rectangle", 144, nullptr},
                        {"a rectangle of no size", 144, &empty}};
  for (const Case& c : cases) {
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(c.Dpi, c.Dpi),
                   reinterpret_cast<LPARAM>(c.Suggested));
    RECT after{};
    ::GetWindowRect(window, &after);
    EXPECT_EQ(gui.WindowDpi(kWindow), 96) << c.Name;
    EXPECT_TRUE(::EqualRect(&before, &after)) << c.Name;
  }
}

// Opened larger than its work area (1280 x 800 here), a window is laid out at the largest DPI at
// which it fits; the displays changing is told to the program.
TEST_F(Win32GuiTest, AWindowLargerThanItsWorkAreaIsLaidOutSmaller) {
  platform::WindowSpec layout;
  layout.Bounds = {0, 0, 1500, 700};
  layout.Title = L"Tarvik large window";
  layout.Visible = false;
  ASSERT_TRUE(gui.OpenWindow(102, layout));
  const int dpi = gui.WindowDpi(102);
  EXPECT_LT(dpi, 96);
  RECT outer{};
  RECT client{};
  const HWND window = Handle(102);
  ASSERT_TRUE(::GetWindowRect(window, &outer) && ::GetClientRect(window, &client));
  const int frame = (outer.right - outer.left) - client.right;
  EXPECT_EQ(client.right, platform::ScaledLength(1500, dpi));
  EXPECT_LE(outer.right - outer.left, 1280);
  EXPECT_GT(platform::ScaledLength(1500, dpi + 1) + frame, 1280);

  ::SendMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
  EXPECT_EQ(WaitFor(EventKind::DisplayChanged).Window, 102);
}

TEST(VirtualKeys, EveryShortcutKeyHasItsCode) {
  EXPECT_EQ(VirtualKeyFor(platform::Key::F5), VK_F5);
  EXPECT_EQ(VirtualKeyFor(platform::Key::Tab), VK_TAB);
  EXPECT_EQ(VirtualKeyFor(platform::Key::C), 'C');
  EXPECT_EQ(VirtualKeyFor(platform::Key::PageUp), VK_PRIOR);
  EXPECT_EQ(VirtualKeyFor(platform::Key::PageDown), VK_NEXT);
}

}  // namespace
}  // namespace tarvik::win32
