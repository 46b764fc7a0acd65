#include <cwchar>
#include <vector>

#include "platform/focus_keys.h"
#include "platform/win32/win32_gui.h"

namespace tarvik::win32 {
namespace {

platform::FocusedControl FocusedControlKind() {
  const HWND focus = ::GetFocus();
  wchar_t name[64] = {};
  if (!focus || ::GetClassNameW(focus, name, static_cast<int>(std::size(name))) == 0)
    return platform::FocusedControl::Other;
  if (::_wcsicmp(name, L"Edit") == 0)
    return platform::FocusedControl::TextField;
  if (::_wcsicmp(name, WC_LISTVIEWW) == 0 || ::_wcsicmp(name, L"ListBox") == 0)
    return platform::FocusedControl::List;
  if (::_wcsicmp(name, WC_COMBOBOXW) == 0)
    return platform::FocusedControl::Selector;
  return platform::FocusedControl::Other;
}

bool IsTabStop(HWND hwnd) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  return (style & WS_TABSTOP) && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd);
}

// Walks the children in the order they were made, each before its own children.
void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (IsTabStop(child))
      stops.push_back(child);
    CollectTabStops(child, stops);
  }
}

// The controls that Tab stops at: the tab control, then the controls of the page in view (those
// of hidden pages are not visible).
std::vector<HWND> TabStopsOf(HWND root) {
  std::vector<HWND> stops;
  CollectTabStops(root, stops);
  return stops;
}

// The tab stop that holds the focus, or stops.size() if none. A stop may hold others (the tab
// control holds its pages' controls), so the last one that holds the focus is the nearest.
size_t FocusedStop(const std::vector<HWND>& stops) {
  const HWND focus = ::GetFocus();
  size_t found = stops.size();
  for (size_t index = 0; focus && index < stops.size(); ++index) {
    if (stops[index] == focus || ::IsChild(stops[index], focus))
      found = index;
  }
  return found;
}

}  // namespace

bool Win32Gui::TranslateKeyboard(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
    return false;
  const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
  const int window = WindowIdOf(root);
  if (window == 0 || ::GetKeyState(VK_MENU) < 0)
    return false;
  if (TranslateShortcut(message, window))
    return true;
  if (message.wParam != VK_TAB || ::GetKeyState(VK_CONTROL) < 0)
    return false;
  return MoveFocusByTab(root, ::GetKeyState(VK_SHIFT) < 0);
}

bool Win32Gui::TranslateShortcut(const MSG& message, int window) {
  const platform::FocusedControl focused = FocusedControlKind();
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  for (const ShortcutEntry& entry : shortcuts_) {
    if (entry.Window != window || entry.Keys.Ctrl != ctrl || entry.Keys.Shift != shift)
      continue;
    if (VirtualKeyFor(entry.Keys.Pressed) != static_cast<int>(message.wParam))
      continue;
    if (platform::ControlKeepsKey(focused, entry.Keys))
      return false;
    Push({platform::EventKind::Shortcut, window, 0, entry.Command, {}});
    return true;
  }
  return false;
}

// Tab and Shift+Tab move through the controls as in a dialog, wrapping at the ends, and turn on
// the focus cue that mouse users do not see.
bool Win32Gui::MoveFocusByTab(HWND root, bool backwards) {
  const std::vector<HWND> stops = TabStopsOf(root);
  if (stops.empty())
    return false;
  const size_t count = stops.size();
  const size_t current = FocusedStop(stops);
  size_t next = 0;
  if (current == count)
    next = backwards ? count - 1 : 0;
  else
    next = backwards ? (current + count - 1) % count : (current + 1) % count;
  ::SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  ::SetFocus(stops[next]);
  if (FocusedControlKind() == platform::FocusedControl::TextField)
    ::SendMessageW(stops[next], EM_SETSEL, 0, -1);
  return true;
}

int VirtualKeyFor(platform::Key key) {
  switch (key) {
    case platform::Key::F5:
      return VK_F5;
    case platform::Key::F6:
      return VK_F6;
    case platform::Key::Up:
      return VK_UP;
    case platform::Key::Down:
      return VK_DOWN;
    case platform::Key::Left:
      return VK_LEFT;
    case platform::Key::Right:
      return VK_RIGHT;
    case platform::Key::C:
      return 'C';
    case platform::Key::S:
      return 'S';
    case platform::Key::I:
      return 'I';
    case platform::Key::Tab:
      return VK_TAB;
    case platform::Key::Return:
      return VK_RETURN;
    case platform::Key::PageUp:
      return VK_PRIOR;
    case platform::Key::PageDown:
      return VK_NEXT;
  }
  return 0;
}

}  // namespace tarvik::win32
