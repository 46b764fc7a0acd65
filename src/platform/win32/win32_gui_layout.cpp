// The DPI each window is laid out at: its monitor's, or the largest that lets it fit the
// monitor's work area; laid out again when it moves to a monitor of another DPI, when the
// system says the DPI changed, and when the displays change.
#include "platform/win32/win32_gui.h"

#include <commctrl.h>

#include "platform/layout_scale.h"

namespace tarvik::win32 {
namespace {

platform::Rect RectOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::optional<platform::Rect> WorkAreaPixels(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !::GetMonitorInfoW(monitor, &info))
    return std::nullopt;
  return RectOf(info.rcWork);
}

// The rectangle of a DPI change, copied without trusting the pointer: a message sent from
// another program may carry an address that is not ours. Nothing for one that cannot be read
// or is no window's size.
std::optional<RECT> SuggestedRect(LPARAM lParam) {
  constexpr LONG kLargest = 1 << 16;
  RECT rect{};
  SIZE_T copied = 0;
  if (lParam == 0 ||
      !::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void*>(lParam), &rect,
                           sizeof(rect), &copied) ||
      copied != sizeof(rect)) {
    return std::nullopt;
  }
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest)
    return std::nullopt;
  return rect;
}

}  // namespace

int Win32Gui::WindowDpi(int window) const {
  return DpiOf(window);
}

int Win32Gui::DpiOf(int window) const {
  const auto found = layouts_.find(window);
  return found == layouts_.end() ? systemDpi_ : found->second.Dpi;
}

// Where the system cannot tell a monitor's own DPI, every monitor has the program's.
int Win32Gui::MonitorDpiOf(HWND hwnd) const {
  if (!user32_.GetDpiForWindow)
    return systemDpi_;
  const int dpi = static_cast<int>(user32_.GetDpiForWindow(hwnd));
  return platform::IsPlausibleDpi(dpi) ? dpi : systemDpi_;
}

SIZE Win32Gui::FrameAt(HWND hwnd, int dpi) const {
  RECT frame{};
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  if (!user32_.AdjustWindowRectExForDpi ||
      !user32_.AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32Gui::FitLayoutToMonitor(int window, bool mayGrow) {
  const HWND hwnd = WindowHandle(window);
  const auto layout = layouts_.find(window);
  if (!hwnd || layout == layouts_.end())
    return;
  const std::optional<platform::Rect> work =
      WorkAreaPixels(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
  if (!work)
    return;
  const int monitorDpi = MonitorDpiOf(hwnd);
  const SIZE frame = FrameAt(hwnd, monitorDpi);
  int dpi = platform::LayoutDpiFor(layout->second.BaseClient, {frame.cx, frame.cy},
                                   {work->Width, work->Height}, monitorDpi);
  if (!mayGrow)
    dpi = std::min(dpi, layout->second.Dpi);
  if (dpi != layout->second.Dpi)
    LayOutAt(window, dpi);
}

void Win32Gui::LayOutAt(int window, int dpi) {
  const HWND hwnd = WindowHandle(window);
  const auto layout = layouts_.find(window);
  if (!hwnd || layout == layouts_.end())
    return;
  layout->second.Dpi = dpi;
  bool laidOut = false;
  for (auto& [id, gadget] : gadgets_) {
    if (gadget.Window == window) {
      LayOutGadget(gadget, id, dpi);
      laidOut = true;
    }
  }
  if (const auto tooltip = tooltips_.find(window); tooltip != tooltips_.end())
    ::SendMessageW(tooltip->second, TTM_SETMAXTIPWIDTH, 0,
                   platform::ScaledLength(kTooltipWidth, dpi));
  const platform::Size client = platform::ScaledSize(layout->second.BaseClient, dpi);
  SetClientPixels(hwnd, {client.Width, client.Height});
  ::InvalidateRect(hwnd, nullptr, TRUE);
  // A window without gadgets (one just opened) has nothing to draw again.
  if (laidOut)
    Push({platform::EventKind::Rescaled, window, 0, dpi, {}});
}

// The font first: a tab panel's tabs take their height from it, and its pages lie below them.
// A canvas loses its drawing: its owner draws it again at the new size.
void Win32Gui::LayOutGadget(Gadget& gadget, int id, int dpi) {
  if (const HFONT font = FontHandle(gadget.Font, dpi))
    ::SendMessageW(gadget.Hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const platform::Rect box = platform::ScaledBox(gadget.Base, dpi);
  ::SetWindowPos(gadget.Hwnd, nullptr, box.X, box.Y, box.Width, box.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  switch (gadget.Kind) {
    case GadgetKind::Panel: {
      const RECT page = PageArea(gadget.Hwnd);
      for (const HWND pageWindow : gadget.Pages) {
        ::SetWindowPos(pageWindow, nullptr, page.left, page.top, page.right - page.left,
                       page.bottom - page.top, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case GadgetKind::List:
      SizeListColumns(gadget, dpi);
      break;
    case GadgetKind::Canvas:
      if (const std::shared_ptr<CanvasSurface> surface = FindSurface(id)) {
        RECT client{};
        ::GetClientRect(gadget.Hwnd, &client);
        std::lock_guard<std::mutex> lock(surface->Lock);
        surface->Extent = {client.right, client.bottom};
        surface->Pixels.reset();
        surface->Fresh = true;
        surface->Dpi = dpi;
      }
      break;
    default:
      break;
  }
  ::InvalidateRect(gadget.Hwnd, nullptr, TRUE);
}

// The system gives the monitor's new DPI and the rectangle it suggests for the window there.
// The layout is the largest that fits the work area at that place; the window keeps the
// suggested place unless that would leave part of it outside the work area.
void Win32Gui::OnDpiChanged(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const int window = WindowIdOf(hwnd);
  const int monitorDpi = LOWORD(wParam);
  const std::optional<RECT> suggested = SuggestedRect(lParam);
  const auto layout = layouts_.find(window);
  if (window == 0 || layout == layouts_.end() || !suggested ||
      !platform::IsPlausibleDpi(monitorDpi)) {
    return;
  }
  const std::optional<platform::Rect> work =
      WorkAreaPixels(::MonitorFromRect(&*suggested, MONITOR_DEFAULTTONEAREST));
  const platform::Rect workArea = work.value_or(platform::Rect{});
  const SIZE frame = FrameAt(hwnd, monitorDpi);
  LayOutAt(window, platform::LayoutDpiFor(layout->second.BaseClient, {frame.cx, frame.cy},
                                          {workArea.Width, workArea.Height}, monitorDpi));
  // A minimised window was given its new size where it will be restored; its icon stays.
  if (::IsIconic(hwnd))
    return;
  RECT outer{};
  ::GetWindowRect(hwnd, &outer);
  const platform::Rect place = platform::PlaceAfterDpiChange(
      RectOf(*suggested), {outer.right - outer.left, outer.bottom - outer.top}, workArea);
  ::SetWindowPos(hwnd, nullptr, place.X, place.Y, place.Width, place.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// A resolution, a monitor or the taskbar changed: each window takes the layout that fits its
// work area now, and the program brings it back inside one.
void Win32Gui::OnDisplayChanged(HWND hwnd) {
  const int window = WindowIdOf(hwnd);
  if (window == 0)
    return;
  FitLayoutToMonitor(window, true);
  Push({platform::EventKind::DisplayChanged, window, 0, 0, {}});
}

}  // namespace tarvik::win32
