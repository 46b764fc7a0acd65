#include <gtest/gtest.h>

#include <optional>

#include "app/shortcuts.h"
#include "fakes/fake_gui.h"
#include "platform/focus_keys.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

using platform::Key;
using platform::Shortcut;

// The command a key press gives in a window, as the user meets it: nothing when the window does
// not know the keys.
std::optional<Command> CommandFor(const fakes::FakeGui& gui, int window, Shortcut keys) {
  for (const auto& entry : gui.Shortcuts) {
    if (entry.Window == window && entry.Keys.Pressed == keys.Pressed &&
        entry.Keys.Ctrl == keys.Ctrl && entry.Keys.Shift == keys.Shift)
      return static_cast<Command>(entry.Command);
  }
  return std::nullopt;
}

// Written from the keyboard table, not from the bindings: a swapped pair shows here.
TEST(ShortcutKeysTest, EachKeyGivesItsCommandInTheWindowsThatKnowIt) {
  fakes::FakeGui gui;
  RegisterShortcuts(gui);
  constexpr int kMain = gadget::MainWindow;
  constexpr int kMini = gadget::MiniWindow;
  struct Case {
    int Window;
    Shortcut Keys;  // key, Ctrl, Shift
    std::optional<Command> Expected;
  };
  const Case cases[] = {
      {kMain, {Key::F5, false, false}, Command::Refresh},
      {kMini, {Key::F5, false, false}, Command::Refresh},
      {kMain, {Key::F6, false, false}, Command::Reset},
      {kMini, {Key::F6, false, false}, Command::Reset},
      {kMini, {Key::Up, true, false}, Command::NudgeUp},
      {kMain, {Key::Down, true, false}, Command::NudgeDown},
      {kMini, {Key::Left, true, false}, Command::NudgeLeft},
      {kMain, {Key::Up, false, true}, Command::NudgeUpFar},
      {kMini, {Key::Left, false, true}, Command::NudgeLeftFar},
      {kMain, {Key::Right, false, true}, Command::NudgeRightFar},
      {kMini, {Key::Left, false, false}, std::nullopt},
      {kMain, {Key::C, true, false}, Command::CopyPanel},
      {kMini, {Key::C, true, false}, std::nullopt},
      {kMain, {Key::Tab, true, false}, Command::NextPanel},
      {kMain, {Key::Tab, true, true}, Command::PreviousPanel},
      {kMain, {Key::Tab, false, true}, std::nullopt},
      {kMain, {Key::PageDown, true, false}, Command::NextPanel},
      {kMain, {Key::PageUp, true, false}, Command::PreviousPanel},
      {kMini, {Key::Tab, true, false}, std::nullopt},
      {kMain, {Key::S, true, false}, Command::ToggleGraphSmoothing},
      {kMain, {Key::I, true, false}, Command::InvertGraphColours},
      {kMain, {Key::Return, false, false}, Command::Enter},
      {kMini, {Key::Return, false, false}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<Command> got = CommandFor(gui, c.Window, c.Keys);
    EXPECT_EQ(got, c.Expected) << "window " << c.Window << ", key "
                               << static_cast<int>(c.Keys.Pressed) << ", ctrl " << c.Keys.Ctrl
                               << ", shift " << c.Keys.Shift;
  }
}

TEST(ShortcutKeysTest, AFocusedFieldListOrSelectorKeepsItsOwnKeys) {
  using F = platform::FocusedControl;
  struct Case {
    F Control;
    Shortcut Keys;
    bool Kept;
  };
  const Case cases[] = {
      {F::TextField, {Key::Left, false, true}, true},   // selects text
      {F::TextField, {Key::Right, true, false}, true},  // moves by word
      {F::TextField, {Key::C, true, false}, true},      // copies the selection
      {F::TextField, {Key::F5, false, false}, false},
      {F::TextField, {Key::Return, false, false}, false},  // the Ping tab's Enter
      {F::List, {Key::Down, false, true}, true},
      {F::List, {Key::C, true, false}, false},  // no copy of its own: the panel's copy
      {F::List, {Key::PageDown, true, false}, false},
      {F::Selector, {Key::Up, true, false}, true},
      {F::Selector, {Key::C, true, false}, false},
      {F::Other, {Key::Left, false, true}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ControlKeepsKey(c.Control, c.Keys), c.Kept)
        << "control " << static_cast<int>(c.Control) << ", key "
        << static_cast<int>(c.Keys.Pressed);
  }
}

}  // namespace
}  // namespace tarvik
