#include "platform/win32/win32_gui.h"

#include <commctrl.h>
#include <dbt.h>

#include <algorithm>
#include <cassert>
#include <cwchar>
#include <iterator>

#include "platform/layout_scale.h"
#include "platform/os_call_count.h"

namespace tarvik::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TarvikWindow";
constexpr wchar_t kCanvasClass[] = L"TarvikCanvas";
constexpr wchar_t kPageClass[] = L"TarvikPage";

template <LRESULT (Win32Gui::*Handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK RoutedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* gui = reinterpret_cast<Win32Gui*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!gui)
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return (gui->*Handler)(hwnd, message, wParam, lParam);
  } catch (...) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  ::RegisterClassExW(&windowClass);
}

DWORD StyleFor(platform::WindowFrame frame) {
  switch (frame) {
    case platform::WindowFrame::Borderless:
      return WS_POPUP | WS_BORDER | WS_MINIMIZEBOX;
    case platform::WindowFrame::Notice:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    default:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  }
}

}  // namespace

Win32Gui::Win32Gui()
    : instance_(::GetModuleHandleW(nullptr)),
      windowThread_(::GetCurrentThreadId()),
      user32_(User32Extras::Bind()) {
  TARVIK_NAME_COUNTED_THREAD(L"window thread");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES |
                                                      ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  const HDC screen = ::GetDC(nullptr);
  systemDpi_ = std::max(platform::kBaseDpi, ::GetDeviceCaps(screen, LOGPIXELSX));
  ::ReleaseDC(nullptr, screen);
  const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterWindowClass(instance_, kWindowClass, RoutedProc<&Win32Gui::OnWindowMessage>, face);
  RegisterWindowClass(instance_, kCanvasClass, RoutedProc<&Win32Gui::OnCanvasMessage>, nullptr);
  RegisterWindowClass(instance_, kPageClass, RoutedProc<&Win32Gui::OnPageMessage>, face);
  wakeWindow_ = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance_, this);
}

Win32Gui::~Win32Gui() {
  RemoveTrayIcon();
  std::vector<int> open;
  for (const auto& [id, hwnd] : windows_)
    open.push_back(id);
  for (const int id : open)
    CloseWindow(id);
  if (wakeWindow_)
    ::DestroyWindow(wakeWindow_);
}

void Win32Gui::AssertWindowThread() const {
  assert(::GetCurrentThreadId() == windowThread_ && "window call from a worker thread");
}

int Win32Gui::Scale(int value) const {
  return platform::ScaledLength(value, systemDpi_);
}
int Win32Gui::Unscale(int value) const {
  return platform::UnscaledLength(value, systemDpi_);
}

HWND Win32Gui::WindowHandle(int id) const {
  const auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : found->second;
}

int Win32Gui::WindowIdOf(HWND hwnd) const {
  for (const auto& [id, handle] : windows_) {
    if (handle == hwnd)
      return id;
  }
  return 0;
}

bool Win32Gui::OpenWindow(int id, const platform::WindowSpec& layout) {
  AssertWindowThread();
  if (WindowHandle(id))
    CloseWindow(id);
  const DWORD style = StyleFor(layout.Frame);
  const DWORD exStyle = layout.Layered ? WS_EX_LAYERED : 0;
  // Opened at the DPI the program started with, then laid out for the monitor it is on.
  RECT outer{0, 0, Scale(layout.Bounds.Width), Scale(layout.Bounds.Height)};
  ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const HWND hwnd =
      ::CreateWindowExW(exStyle, kWindowClass, layout.Title.c_str(), style, Scale(layout.Bounds.X),
                        Scale(layout.Bounds.Y), outer.right - outer.left, outer.bottom - outer.top,
                        nullptr, nullptr, instance_, this);
  if (!hwnd)
    return false;
  windows_[id] = hwnd;
  frames_[id] = layout.Frame;
  layouts_[id] = {systemDpi_, {layout.Bounds.Width, layout.Bounds.Height}};
  FitLayoutToMonitor(id, true);
  // A layered window stays invisible until its opacity is set once.
  if (layout.Layered)
    ::SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
  if (layout.Visible)
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
  return true;
}

void Win32Gui::CloseWindow(int id) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return;
  DeliverPostedMessages(hwnd);
  DestroyGadgetsOf(id);
  windows_.erase(id);
  frames_.erase(id);
  layouts_.erase(id);
  ::DestroyWindow(hwnd);
}

bool Win32Gui::WindowExists(int id) const {
  return WindowHandle(id) != nullptr;
}

void Win32Gui::ShowWindow(int id, platform::ShowMode mode) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return;
  switch (mode) {
    case platform::ShowMode::Hide:
      ::ShowWindow(hwnd, SW_HIDE);
      break;
    case platform::ShowMode::Show:
      ::ShowWindow(hwnd, SW_SHOW);
      break;
    case platform::ShowMode::Normal:
      ::ShowWindow(hwnd, ::IsIconic(hwnd) ? SW_RESTORE : SW_SHOWNORMAL);
      break;
    case platform::ShowMode::Minimize:
      ::ShowWindow(hwnd, SW_MINIMIZE);
      break;
  }
}

bool Win32Gui::IsWindowVisible(int id) const {
  const HWND hwnd = WindowHandle(id);
  return hwnd && ::IsWindowVisible(hwnd);
}

bool Win32Gui::IsWindowMinimized(int id) const {
  const HWND hwnd = WindowHandle(id);
  return hwnd && ::IsIconic(hwnd);
}

void Win32Gui::MoveWindow(int id, platform::Point to) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return;
  if (::IsIconic(hwnd)) {
    // A minimised window moves where it will be restored, not where its icon is parked.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(hwnd, &placement))
      return;
    RECT& normal = placement.rcNormalPosition;
    ::OffsetRect(&normal, Scale(to.X) - normal.left, Scale(to.Y) - normal.top);
    placement.showCmd = SW_SHOWMINNOACTIVE;
    ::SetWindowPlacement(hwnd, &placement);
    return;
  }
  const HMONITOR before = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
  ::SetWindowPos(hwnd, nullptr, Scale(to.X), Scale(to.Y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Put on another monitor, the window takes that monitor's layout (where the system does not
  // say so itself, as it does to a window aware of each monitor's DPI).
  if (::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) != before)
    FitLayoutToMonitor(id, true);
}

// A minimised window reports where it will be restored: Windows parks the window itself far
// off-screen (at -32000) while it is minimised.
platform::Rect Win32Gui::WindowBounds(int id) const {
  RECT rect{};
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return {};
  if (::IsIconic(hwnd)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(hwnd, &placement))
      return {};
    rect = placement.rcNormalPosition;
  } else if (!::GetWindowRect(hwnd, &rect)) {
    return {};
  }
  return {Unscale(rect.left), Unscale(rect.top), Unscale(rect.right - rect.left),
          Unscale(rect.bottom - rect.top)};
}

void Win32Gui::SetWindowTitle(int id, const std::wstring& title) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (hwnd)
    ::SetWindowTextW(hwnd, title.c_str());
}

std::wstring Win32Gui::WindowTitle(int id) const {
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return L"";
  std::wstring title(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  title.resize(
      static_cast<size_t>(::GetWindowTextW(hwnd, title.data(), static_cast<int>(title.size()))));
  return title;
}

void Win32Gui::SetAlwaysOnTop(int id, bool onTop) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return;
  ::SetWindowPos(hwnd, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

// A click or a key that may have given another window or control the focus.
bool MayMoveFocus(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_NCLBUTTONDOWN || message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

}  // namespace

// Wine without a window manager stacks the window that takes the focus (or whose control takes
// it) above every other on the X screen, the program's always-on-top windows included, though
// Windows still counts them above it: the mini window is then drawn partly hidden under the
// main window. Pinning them again after each click or key restacks them; on Windows it changes
// nothing.
void Win32Gui::KeepPinnedWindowsOnTop() {
  for (const auto& [id, hwnd] : windows_) {
    if (::IsWindowVisible(hwnd) && (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
      ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
  }
}

// Brings a window above all others without pinning it there.
void Win32Gui::RaiseWindow(int id) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return;
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
  if (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) {
    ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, flags);
    return;
  }
  ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
  ::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void Win32Gui::SetWindowAlpha(int id, int alpha) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd || !(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED))
    return;
  ::SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), LWA_ALPHA);
}

void Win32Gui::SetWindowFrame(int id, platform::WindowFrame frame) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(id);
  if (!hwnd)
    return;
  RECT client{};
  ::GetClientRect(hwnd, &client);
  const DWORD visible = ::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE;
  const DWORD style = StyleFor(frame) | visible;
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
  const SIZE added = FrameAt(hwnd, MonitorDpiOf(hwnd));
  ::SetWindowPos(hwnd, nullptr, 0, 0, client.right + added.cx, client.bottom + added.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  frames_[id] = frame;
}

// A minimised window keeps its icon: the size is given to the place it will be restored at.
void Win32Gui::SetClientPixels(HWND hwnd, SIZE client) {
  const SIZE frame = FrameAt(hwnd, MonitorDpiOf(hwnd));
  const int width = client.cx + frame.cx;
  const int height = client.cy + frame.cy;
  if (::IsIconic(hwnd)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(hwnd, &placement))
      return;
    RECT& normal = placement.rcNormalPosition;
    normal.right = normal.left + width;
    normal.bottom = normal.top + height;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    ::SetWindowPlacement(hwnd, &placement);
    return;
  }
  ::SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

platform::WindowFrame Win32Gui::FrameOf(int id) const {
  const auto found = frames_.find(id);
  return found == frames_.end() ? platform::WindowFrame::Caption : found->second;
}

void Win32Gui::AddShortcut(int window, platform::Shortcut keys, int command) {
  AssertWindowThread();
  shortcuts_.push_back({window, keys, command});
}

void Win32Gui::StartTimer(int window, int timer, int milliseconds) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(window);
  if (hwnd)
    ::SetTimer(hwnd, static_cast<UINT_PTR>(timer), static_cast<UINT>(milliseconds), nullptr);
}

void Win32Gui::StopTimer(int window, int timer) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(window);
  if (hwnd)
    ::KillTimer(hwnd, static_cast<UINT_PTR>(timer));
}

bool Win32Gui::IsShiftDown() const {
  return ::GetKeyState(VK_SHIFT) < 0;
}

void Win32Gui::Push(platform::GuiEvent event) {
  events_.push_back(event);
}

platform::GuiEvent Win32Gui::WaitEvent(int timeoutMs) {
  AssertWindowThread();
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(std::max(0, timeoutMs));
  while (events_.empty()) {
    MSG message{};
    if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!TranslateKeyboard(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      if (MayMoveFocus(message.message))
        KeepPinnedWindowsOnTop();
      continue;
    }
    DWORD wait = INFINITE;
    if (timeoutMs >= 0) {
      const ULONGLONG now = ::GetTickCount64();
      if (now >= deadline)
        return {};
      wait = static_cast<DWORD>(deadline - now);
    }
    ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  const platform::GuiEvent event = events_.front();
  events_.pop_front();
  return event;
}

bool Win32Gui::Wake() {
  TARVIK_COUNT_OS_CALL("PostMessageW wake");
  return ::PostMessageW(wakeWindow_, kWakeMessage, 0, 0) != FALSE;
}

uint32_t Win32Gui::RegisterMessage(const std::wstring& name) {
  AssertWindowThread();
  const UINT message = ::RegisterWindowMessageW(name.c_str());
  if (message == 0)
    return 0;
  registeredMessages_.push_back(message);
  // A copy running elevated hears these from a second copy or Explorer that runs without:
  // the message filter of an elevated process drops them otherwise.
  if (user32_.ChangeWindowMessageFilter)
    user32_.ChangeWindowMessageFilter(message, MSGFLT_ADD);
  return message;
}

void Win32Gui::BroadcastMessage(uint32_t message) {
  AssertWindowThread();
  ::PostMessageW(HWND_BROADCAST, message, 0, 0);
}

// What was posted to a window before it closes or before the handler moves to another window
// (the quit message that another program broadcast while the progress window showed) reaches
// the handler while it still hears that window; a destroyed window's messages would be lost.
void Win32Gui::DeliverPostedMessages(HWND hwnd) {
  MSG message{};
  while (::PeekMessageW(&message, hwnd, 0, 0, PM_REMOVE))
    ::DispatchMessageW(&message);
}

void Win32Gui::SetMessageHandler(platform::MessageHandler* handler, int window) {
  AssertWindowThread();
  if (const HWND heard = WindowHandle(handlerWindow_);
      heard && handler_ && window != handlerWindow_)
    DeliverPostedMessages(heard);
  handler_ = handler;
  handlerWindow_ = window;
}

platform::Size Win32Gui::DesktopSize() const {
  return {Unscale(::GetSystemMetrics(SM_CXSCREEN)), Unscale(::GetSystemMetrics(SM_CYSCREEN))};
}

// The monitor a minimised window is restored on counts as its monitor.
platform::Rect Win32Gui::WorkAreaOf(int window) const {
  const HWND hwnd = WindowHandle(window);
  const HMONITOR monitor = hwnd ? ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                                : ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor, &info)) {
    const platform::Size desktop = DesktopSize();
    return {0, 0, desktop.Width, desktop.Height};
  }
  const RECT& area = info.rcWork;
  return {Unscale(area.left), Unscale(area.top), Unscale(area.right - area.left),
          Unscale(area.bottom - area.top)};
}

void Win32Gui::BlockShutdown(int window, const std::wstring& reason) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(window);
  if (hwnd && user32_.ShutdownBlockReasonCreate)
    user32_.ShutdownBlockReasonCreate(hwnd, reason.c_str());
}

void Win32Gui::UnblockShutdown(int window) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(window);
  if (hwnd && user32_.ShutdownBlockReasonDestroy)
    user32_.ShutdownBlockReasonDestroy(hwnd);
}

// Session end, the registered messages and volume changes go to the program's window callback,
// from one window only: they reach every top-level window.
bool Win32Gui::OnSystemMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!handler_ || WindowIdOf(hwnd) != handlerWindow_)
    return false;
  platform::SystemMessage system;
  if (message == WM_QUERYENDSESSION) {
    system.Kind = platform::SystemMessageKind::QueryEndSession;
  } else if (message == WM_ENDSESSION) {
    system.Kind = platform::SystemMessageKind::EndSession;
  } else if (message == WM_DEVICECHANGE) {
    if (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE)
      return false;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME)
      return false;
    system.Kind = wParam == DBT_DEVICEARRIVAL ? platform::SystemMessageKind::VolumeArrival
                                              : platform::SystemMessageKind::VolumeRemoval;
    system.UnitMask = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam)->dbcv_unitmask;
  } else if (std::find(registeredMessages_.begin(), registeredMessages_.end(), message) !=
             registeredMessages_.end()) {
    system.Kind = platform::SystemMessageKind::Registered;
    system.RegisteredId = message;
  } else {
    return false;
  }
  const bool handled = handler_->OnSystemMessage(system);
  // Wakes the event loop so that it sees flags the callback may have set.
  Push({});
  return handled;
}

LRESULT Win32Gui::OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (handler_)
    handler_->CountMessage();
  if (OnSystemMessage(hwnd, message, wParam, lParam))
    return 0;
  const int window = WindowIdOf(hwnd);
  switch (message) {
    case WM_CLOSE:
      Push({platform::EventKind::Close, window, 0, 0, {}});
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Push({platform::EventKind::Minimize, window, 0, 0, {}});
        return 0;
      }
      if ((wParam & 0xFFF0) == SC_RESTORE && ::IsIconic(hwnd)) {
        Push({platform::EventKind::Restore, window, 0, 0, {}});
        return 0;
      }
      break;
    case WM_MOVE:
      if (window != 0)
        Push({platform::EventKind::Move, window, 0, 0, {}});
      break;
    case WM_TIMER:
      Push({platform::EventKind::Timer, window, 0, static_cast<int>(wParam), {}});
      return 0;
    case kTrayMessage:
      OnTrayMessage(window, lParam);
      return 0;
    case kWakeMessage:
      Push({platform::EventKind::Wake, 0, 0, 0, {}});
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(hwnd, wParam, lParam);
      return 0;
    case WM_DISPLAYCHANGE:
      OnDisplayChanged(hwnd);
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA)
        OnDisplayChanged(hwnd);
      break;
    default:
      OnControlNotice(message, wParam, lParam);
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// What controls tell the window or tab page they sit on.
void Win32Gui::OnControlNotice(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<NMHDR*>(lParam));
      break;
    case WM_COMMAND:
      OnControlCommand(wParam);
      break;
    case WM_HSCROLL:
      OnSliderScroll(lParam);
      break;
    default:
      break;
  }
}

namespace {

bool IsEditControl(HWND hwnd) {
  wchar_t name[16] = {};
  return ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) > 0 &&
         ::_wcsicmp(name, L"Edit") == 0;
}

}  // namespace

LRESULT Win32Gui::OnPageMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto dc = reinterpret_cast<HDC>(wParam);
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Texts, check boxes, frames and sliders on a tab page share the page's background; a
      // read-only field keeps the plain face behind its text.
      ::SetBkMode(dc, TRANSPARENT);
      const auto control = reinterpret_cast<HWND>(lParam);
      if (IsEditControl(control))
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(themedPages_.ControlBrush(hwnd, control, dc));
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (themedPages_.PaintBackground(hwnd, dc))
        return 1;
      break;
    case WM_SIZE:
    case WM_THEMECHANGED:
    case WM_DESTROY:
      themedPages_.Forget(hwnd);
      break;
    default:
      OnControlNotice(message, wParam, lParam);
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tarvik::win32
