#pragma once

#include "platform/gui.h"

namespace tarvik::platform {

// What kind of control holds the keyboard focus, as far as its own keys go.
enum class FocusedControl { Other, TextField, List, Selector };

// A control with the focus keeps the keys it has a meaning for, ahead of the program's
// shortcuts: arrows with Ctrl or Shift move the caret, select, or move through a list or a
// selector, and Ctrl+C in a text field copies the selected text. A list has no copy of its own,
// so there Ctrl+C still copies the panel; every other shortcut stays the program's.
[[nodiscard]] inline bool ControlKeepsKey(FocusedControl control, const Shortcut& keys) {
  if (control == FocusedControl::Other)
    return false;
  switch (keys.Pressed) {
    case Key::Up:
    case Key::Down:
    case Key::Left:
    case Key::Right:
      return keys.Ctrl || keys.Shift;
    case Key::C:
      return keys.Ctrl && !keys.Shift && control == FocusedControl::TextField;
    default:
      return false;
  }
}

}  // namespace tarvik::platform
