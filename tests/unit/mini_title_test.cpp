#include <gtest/gtest.h>

#include "app/mini_title.h"
#include "fakes/fake_gui.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

// The mini window's title shows what was published for the chosen mode, whichever monitor
// published it and whenever; a mode with nothing yet shows the program's title.
TEST(MiniTitle, ShowsTheSummaryOfTheChosenModeAsLastPublished) {
  fakes::FakeGui gui;
  gui.OpenWindow(gadget::MiniWindow, {});
  Settings settings;
  TitleBoard board;
  int changes = 0;
  board.OnChanged([&] { ++changes; });
  board.Publish(4, L"Batt:None");
  board.Publish(1, L"21.2G 89% Phys");
  board.Publish(4, L"Batt:None");  // equal: no change to announce
  board.Publish(9, L"no such mode");
  board.Publish(-1, L"no such mode");
  EXPECT_EQ(changes, 2);
  settings.Set(opt::TrayIconEnabled, 1);
  TrayIcon tray(gui, settings);
  tray.BuildImages();
  tray.ShowIfEnabled();
  MiniTitle title(gui, settings, board, tray);
  const struct {
    int Mode;
    const wchar_t* Title;
    const wchar_t* Tip;
  } cases[] = {
      {4, L"Batt:None", L"Tarvik Batt:None"},
      {1, L"21.2G 89% Phys", L"Tarvik 21.2G 89% Phys"},
      {0, L"Tarvik v2.33 x64 426.9423", L"Tarvik v2.33 x64 426.9423"},
      {8, L"Tarvik v2.33 x64 426.9423", L"Tarvik v2.33 x64 426.9423"},
      {9, L"Tarvik v2.33 x64 426.9423", L"Tarvik v2.33 x64 426.9423"},
  };
  for (const auto& c : cases) {
    settings.Set(opt::TitleBarMode, c.Mode);
    title.Show();
    EXPECT_EQ(gui.WindowTitle(gadget::MiniWindow), c.Title) << c.Mode;
    EXPECT_EQ(gui.TrayTip, c.Tip) << c.Mode;
  }
}

}  // namespace
}  // namespace tarvik
