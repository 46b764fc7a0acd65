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
  MiniTitle title(gui, settings, board);
  const std::pair<int, const wchar_t*> cases[] = {
      {4, L"Batt:None"},
      {1, L"21.2G 89% Phys"},
      {0, L"Tarvik v2.33 x64 426.9423"},
      {8, L"Tarvik v2.33 x64 426.9423"},
      {9, L"Tarvik v2.33 x64 426.9423"},
  };
  for (const auto& [mode, shown] : cases) {
    settings.Set(opt::TitleBarMode, mode);
    title.Show();
    EXPECT_EQ(gui.WindowTitle(gadget::MiniWindow), shown) << mode;
  }
}

}  // namespace
}  // namespace tarvik
