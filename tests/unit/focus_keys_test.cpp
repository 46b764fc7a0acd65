#include <gtest/gtest.h>

#include "platform/focus_keys.h"

namespace tarvik::platform {
namespace {

TEST(FocusKeysTest, AFocusedFieldListOrSelectorKeepsItsOwnKeys) {
  using F = FocusedControl;
  struct Case {
    F Control;
    Shortcut Keys;  // key, Ctrl, Shift
    bool Kept;
  };
  const Case cases[] = {
      {F::TextField, {Key::Left, false, true}, true},   // selects text
      {F::TextField, {Key::Right, true, false}, true},  // moves by word
      {F::TextField, {Key::C, true, false}, true},      // copies the selection
      {F::TextField, {Key::F5, false, false}, false},
      {F::TextField, {Key::Tab, true, false}, false},
      {F::TextField, {Key::Return, false, false}, false},  // the Ping tab's Enter
      {F::List, {Key::Down, false, true}, true},
      {F::List, {Key::Up, true, false}, true},
      {F::List, {Key::C, true, false}, false},  // no copy of its own: the panel's copy
      {F::List, {Key::S, true, false}, false},
      {F::List, {Key::PageDown, true, false}, false},
      {F::Selector, {Key::Down, false, true}, true},
      {F::Selector, {Key::C, true, false}, false},  // a drop-down list has nothing to copy
      {F::Other, {Key::Left, false, true}, false},
      {F::Other, {Key::C, true, false}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ControlKeepsKey(c.Control, c.Keys), c.Kept)
        << "control " << static_cast<int>(c.Control) << ", key "
        << static_cast<int>(c.Keys.Pressed);
  }
}

}  // namespace
}  // namespace tarvik::platform
