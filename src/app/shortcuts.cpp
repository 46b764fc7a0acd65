#include "app/shortcuts.h"

#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

using platform::Key;

struct Binding {
  platform::Shortcut Keys;
  Command Action;
  bool MainOnly;
};

constexpr Binding kBindings[] = {
    {{Key::F5, false, false}, Command::Refresh, false},
    {{Key::F6, false, false}, Command::Reset, false},
    {{Key::Up, true, false}, Command::NudgeUp, false},
    {{Key::Down, true, false}, Command::NudgeDown, false},
    {{Key::Left, true, false}, Command::NudgeLeft, false},
    {{Key::Right, true, false}, Command::NudgeRight, false},
    {{Key::Up, false, true}, Command::NudgeUpFar, false},
    {{Key::Down, false, true}, Command::NudgeDownFar, false},
    {{Key::Left, false, true}, Command::NudgeLeftFar, false},
    {{Key::Right, false, true}, Command::NudgeRightFar, false},
    {{Key::C, true, false}, Command::CopyPanel, true},
    {{Key::Tab, true, false}, Command::NextPanel, true},
    {{Key::Tab, true, true}, Command::PreviousPanel, true},
    {{Key::PageDown, true, false}, Command::NextPanel, true},
    {{Key::PageUp, true, false}, Command::PreviousPanel, true},
    {{Key::S, true, false}, Command::ToggleGraphSmoothing, true},
    {{Key::I, true, false}, Command::InvertGraphColours, true},
    {{Key::Return, false, false}, Command::Enter, true},
};

}  // namespace

void RegisterShortcuts(platform::Gui& gui) {
  for (const Binding& binding : kBindings) {
    const int command = static_cast<int>(binding.Action);
    gui.AddShortcut(gadget::MainWindow, binding.Keys, command);
    if (!binding.MainOnly)
      gui.AddShortcut(gadget::MiniWindow, binding.Keys, command);
  }
}

platform::Point NudgeStep(Command command) {
  switch (command) {
    case Command::NudgeUp:
      return {0, -1};
    case Command::NudgeDown:
      return {0, 1};
    case Command::NudgeLeft:
      return {-1, 0};
    case Command::NudgeRight:
      return {1, 0};
    case Command::NudgeUpFar:
      return {0, -10};
    case Command::NudgeDownFar:
      return {0, 10};
    case Command::NudgeLeftFar:
      return {-10, 0};
    case Command::NudgeRightFar:
      return {10, 0};
    default:
      return {0, 0};
  }
}

}  // namespace tarvik
