#include "platform/win32/win32_gui.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/changed_areas.h"
#include "platform/layout_scale.h"
#include "platform/os_call_count.h"

namespace tarvik::win32 {
namespace {

constexpr wchar_t kCanvasClass[] = L"TarvikCanvas";
constexpr wchar_t kPageClass[] = L"TarvikPage";

}  // namespace

const Win32Gui::Gadget* Win32Gui::FindGadget(int id) const {
  const auto found = gadgets_.find(id);
  return found == gadgets_.end() ? nullptr : &found->second;
}

HWND Win32Gui::ParentHandle(const platform::GadgetParent& parent) const {
  if (parent.Tab >= 0) {
    const Gadget* panel = FindGadget(parent.Panel);
    if (!panel || parent.Tab >= static_cast<int>(panel->Pages.size()))
      return nullptr;
    return panel->Pages[static_cast<size_t>(parent.Tab)];
  }
  return WindowHandle(parent.Window);
}

HWND Win32Gui::CreateChild(int id, const wchar_t* windowClass, DWORD style,
                           const platform::GadgetParent& parent, const platform::Rect& bounds,
                           const std::wstring& text, GadgetKind kind) {
  const HWND parentHandle = ParentHandle(parent);
  if (!parentHandle)
    return nullptr;
  const int dpi = DpiOf(parent.Window);
  const platform::Rect rect = platform::ScaledBox(bounds, dpi);
  const HWND hwnd =
      ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.X, rect.Y,
                        rect.Width, rect.Height, parentHandle,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, this);
  if (!hwnd)
    return nullptr;
  if (const HFONT font = FontHandle(defaultFont_, dpi))
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  gadgets_[id] = {hwnd, kind, parent.Window, bounds, defaultFont_, {}, {}, {}};
  return hwnd;
}

void Win32Gui::CreatePanel(int id, const platform::GadgetParent& parent,
                           const platform::Rect& bounds,
                           const std::vector<std::wstring>& tabCaptions) {
  AssertWindowThread();
  const HWND tab = CreateChild(id, WC_TABCONTROLW, WS_CLIPSIBLINGS | WS_TABSTOP, parent, bounds,
                               L"", GadgetKind::Panel);
  if (!tab)
    return;
  for (size_t index = 0; index < tabCaptions.size(); ++index) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(tabCaptions[index].c_str());
    ::SendMessageW(tab, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
  }
  const RECT page = PageArea(tab);
  Gadget& panel = gadgets_[id];
  for (size_t index = 0; index < tabCaptions.size(); ++index) {
    panel.Pages.push_back(::CreateWindowExW(
        WS_EX_CONTROLPARENT, kPageClass, L"",
        WS_CHILD | WS_CLIPCHILDREN | (index == 0 ? WS_VISIBLE : 0), page.left, page.top,
        page.right - page.left, page.bottom - page.top, tab, nullptr, instance_, this));
  }
}

// The part of a tab panel below its tabs, where its pages lie.
RECT Win32Gui::PageArea(HWND tab) {
  RECT page{};
  ::GetClientRect(tab, &page);
  ::SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  return page;
}

void Win32Gui::ShowPanelPage(const Gadget& panel, int tab) {
  for (size_t index = 0; index < panel.Pages.size(); ++index) {
    ::ShowWindow(panel.Pages[index], static_cast<int>(index) == tab ? SW_SHOW : SW_HIDE);
  }
}

void Win32Gui::SelectPanelTab(int id, int tab) {
  AssertWindowThread();
  const Gadget* panel = FindGadget(id);
  if (!panel || panel->Kind != GadgetKind::Panel)
    return;
  if (tab < 0 || tab >= static_cast<int>(panel->Pages.size()))
    return;
  ::SendMessageW(panel->Hwnd, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  ShowPanelPage(*panel, tab);
}

int Win32Gui::SelectedPanelTab(int id) const {
  const Gadget* panel = FindGadget(id);
  if (!panel || panel->Kind != GadgetKind::Panel)
    return -1;
  return static_cast<int>(::SendMessageW(panel->Hwnd, TCM_GETCURSEL, 0, 0));
}

void Win32Gui::OnNotify(NMHDR& header) {
  if (header.code == LVN_GETDISPINFOW) {
    OnListDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
    return;
  }
  if (header.code != TCN_SELCHANGE)
    return;
  for (const auto& [id, gadget] : gadgets_) {
    if (gadget.Hwnd != header.hwndFrom || gadget.Kind != GadgetKind::Panel)
      continue;
    const int tab = static_cast<int>(::SendMessageW(gadget.Hwnd, TCM_GETCURSEL, 0, 0));
    ShowPanelPage(gadget, tab);
    Push({platform::EventKind::Gadget,
          gadget.Window,
          id,
          static_cast<int>(platform::GadgetAction::Change),
          {}});
    return;
  }
}

std::unique_ptr<DibCanvas> Win32Gui::NewCanvasPixels(platform::Size pixels, int dpi) {
  return std::make_unique<DibCanvas>(
      pixels.Width, pixels.Height,
      [this, dpi](platform::FontId font) { return FontHandle(font, dpi); });
}

std::shared_ptr<CanvasSurface> Win32Gui::FindSurface(int id) const {
  std::lock_guard<std::mutex> lock(surfacesLock_);
  const auto found = surfaces_.find(id);
  return found == surfaces_.end() ? nullptr : found->second;
}

void Win32Gui::CreateCanvas(int id, const platform::GadgetParent& parent,
                            const platform::Rect& bounds) {
  AssertWindowThread();
  auto surface = std::make_shared<CanvasSurface>();
  surface->Dpi = DpiOf(parent.Window);
  const platform::Rect pixels = platform::ScaledBox(bounds, surface->Dpi);
  surface->Extent = {pixels.Width, pixels.Height};
  {
    std::lock_guard<std::mutex> lock(surfacesLock_);
    surfaces_[id] = surface;
  }
  const HWND hwnd = CreateChild(id, kCanvasClass, 0, parent, bounds, L"", GadgetKind::Canvas);
  std::lock_guard<std::mutex> lock(surfacesLock_);
  if (hwnd) {
    surface->Window = hwnd;
  } else {
    surfaces_.erase(id);
  }
}

void Win32Gui::FitWindowToCanvas(int window, int canvas, platform::Size pixels) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(window);
  const Gadget* gadget = FindGadget(canvas);
  const std::shared_ptr<CanvasSurface> surface = FindSurface(canvas);
  if (!hwnd || !gadget || !surface || pixels.Width < 1 || pixels.Height < 1)
    return;
  const int dpi = DpiOf(window);
  {
    // Workers may be drawing: the new bitmap replaces the old one under the canvas's lock.
    std::lock_guard<std::mutex> lock(surface->Lock);
    surface->Extent = pixels;
    surface->Pixels = NewCanvasPixels(pixels, dpi);
    surface->Fresh = true;
  }
  ::SetWindowPos(gadget->Hwnd, nullptr, 0, 0, pixels.Width, pixels.Height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT placed{};
  ::GetWindowRect(gadget->Hwnd, &placed);
  ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&placed), 2);
  SetClientPixels(hwnd, {placed.right, placed.bottom});
  ::InvalidateRect(gadget->Hwnd, nullptr, FALSE);
  // What the window and its canvas measure in base units, for a layout at another DPI.
  FindGadgetOf(canvas)->Base = {
      platform::UnscaledLength(placed.left, dpi), platform::UnscaledLength(placed.top, dpi),
      platform::UnscaledLength(pixels.Width, dpi), platform::UnscaledLength(pixels.Height, dpi)};
  layouts_[window].BaseClient = {platform::UnscaledLength(placed.right, dpi),
                                 platform::UnscaledLength(placed.bottom, dpi)};
  // Grown past its work area, the window gives up some of its scale.
  FitLayoutToMonitor(window, false);
}

void Win32Gui::DrawCanvas(int id, const std::function<void(platform::Canvas&)>& draw) {
  std::shared_ptr<CanvasSurface> surface;
  HWND hwnd = nullptr;
  {
    std::lock_guard<std::mutex> lock(surfacesLock_);
    const auto found = surfaces_.find(id);
    if (found == surfaces_.end())
      return;
    surface = found->second;
    hwnd = surface->Window;
  }
  platform::Rect changed;
  {
    std::lock_guard<std::mutex> lock(surface->Lock);
    if (!surface->Pixels) {
      surface->Pixels = NewCanvasPixels(surface->Extent, surface->Dpi);
      surface->Fresh = true;
    }
    if (!surface->Pixels->IsValid())
      return;
    const platform::Size size = surface->Pixels->Extent();
    const uint32_t* bits = surface->Pixels->Bits();
    // The pixels before this drawing, in a buffer each drawing thread keeps: a graph's bitmap
    // is too large to be allocated anew on every sample.
    thread_local std::vector<uint32_t> before;
    before.assign(bits, bits + static_cast<size_t>(size.Width) * size.Height);
    draw(*surface->Pixels);
    {
      TARVIK_COUNT_OS_CALL("GdiFlush");
      ::GdiFlush();
    }
    changed = surface->Fresh ? platform::Rect{0, 0, size.Width, size.Height}
                             : platform::ChangedBox(before.data(), bits, size);
    surface->Fresh = false;
  }
  // Only queues a repaint of what changed for the window thread; never waits for it. A drawing
  // that changed no pixel costs no repaint.
  if (hwnd && changed.Width > 0) {
    TARVIK_COUNT_OS_CALL("InvalidateRect canvas");
    const RECT box{changed.X, changed.Y, changed.Right(), changed.Bottom()};
    ::InvalidateRect(hwnd, &box, FALSE);
  }
}

platform::Size Win32Gui::CanvasExtent(int id) const {
  std::lock_guard<std::mutex> lock(surfacesLock_);
  const auto found = surfaces_.find(id);
  return found == surfaces_.end() ? platform::Size{} : found->second->Extent;
}

void Win32Gui::SetCanvasScroll(int id, int contentHeight, int step, int top) {
  AssertWindowThread();
  const Gadget* gadget = FindGadget(id);
  const std::shared_ptr<CanvasSurface> surface = FindSurface(id);
  if (!gadget || !surface)
    return;
  const HWND hwnd = gadget->Hwnd;
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  if ((style & WS_VSCROLL) == 0) {
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_VSCROLL);
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    // The bar takes its width from the drawing; what was drawn is lost and drawn again.
    std::lock_guard<std::mutex> lock(surface->Lock);
    surface->Extent = {client.right, client.bottom};
    surface->Pixels = NewCanvasPixels(surface->Extent, surface->Dpi);
    surface->Fresh = true;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMax = std::max(contentHeight - 1, 0);
  info.nPos = std::max(top, 0);
  {
    std::lock_guard<std::mutex> lock(surface->Lock);
    surface->ScrollStep = std::max(step, 1);
    info.nPage = static_cast<UINT>(std::max(surface->Extent.Height, 1));
  }
  ::SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

int Win32Gui::CanvasScrollTop(int id) const {
  const Gadget* gadget = FindGadget(id);
  if (!gadget)
    return 0;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  return ::GetScrollInfo(gadget->Hwnd, SB_VERT, &info) ? info.nPos : 0;
}

// Moves a scrolling canvas by a scroll-bar action or a wheel turn, in whole steps, and tells the
// owner where its top is now.
void Win32Gui::ScrollCanvas(HWND hwnd, int id, int code, int wheelNotches) {
  const std::shared_ptr<CanvasSurface> surface = FindSurface(id);
  if (!surface)
    return;
  int step = 1;
  {
    std::lock_guard<std::mutex> lock(surface->Lock);
    step = std::max(surface->ScrollStep, 1);
  }
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(hwnd, SB_VERT, &info))
    return;
  const int page = std::max(static_cast<int>(info.nPage) / step, 1) * step;
  int top = info.nPos;
  switch (code) {
    case SB_LINEUP:
      top -= step;
      break;
    case SB_LINEDOWN:
      top += step;
      break;
    case SB_PAGEUP:
      top -= page;
      break;
    case SB_PAGEDOWN:
      top += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      top = info.nTrackPos;
      break;
    case SB_TOP:
      top = 0;
      break;
    case SB_BOTTOM:
      top = info.nMax;
      break;
    default:
      top -= wheelNotches * step;
      break;
  }
  const int last = std::max(info.nMax - static_cast<int>(info.nPage) + 1, 0);
  top = std::clamp(top, 0, last) / step * step;
  if (top == info.nPos)
    return;
  info.fMask = SIF_POS;
  info.nPos = top;
  ::SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  const Gadget* gadget = FindGadget(id);
  Push({platform::EventKind::Gadget,
        gadget ? gadget->Window : 0,
        id,
        static_cast<int>(platform::GadgetAction::Scroll),
        {0, top}});
}

LRESULT Win32Gui::OnCanvasMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const int id = static_cast<int>(::GetDlgCtrlID(hwnd));
  switch (message) {
    case WM_VSCROLL:
      ScrollCanvas(hwnd, id, LOWORD(wParam), 0);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollCanvas(hwnd, id, -1, GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      const HDC dc = ::BeginPaint(hwnd, &paint);
      const std::shared_ptr<CanvasSurface> surface = FindSurface(id);
      if (surface) {
        std::lock_guard<std::mutex> lock(surface->Lock);
        if (surface->Pixels) {
          const RECT& box = paint.rcPaint;
          ::BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top,
                   surface->Pixels->Dc(), box.left, box.top, SRCCOPY);
        } else {
          ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        }
      }
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE: {
      const platform::GadgetAction action =
          message == WM_LBUTTONDOWN   ? platform::GadgetAction::Click
          : message == WM_RBUTTONDOWN ? platform::GadgetAction::RightClick
                                      : platform::GadgetAction::MouseMove;
      const Gadget* gadget = FindGadget(id);
      // A scrolling canvas takes the focus when clicked, so that the wheel turns reach it.
      if (message != WM_MOUSEMOVE && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VSCROLL) != 0)
        ::SetFocus(hwnd);
      // In the canvas's own pixels, as its drawing is.
      const POINTS at = MAKEPOINTS(lParam);
      Push({platform::EventKind::Gadget,
            gadget ? gadget->Window : 0,
            id,
            static_cast<int>(action),
            {at.x, at.y}});
      return 0;
    }
    default:
      return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

void Win32Gui::CreateText(int id, const platform::GadgetParent& parent,
                          const platform::Rect& bounds, const std::wstring& text) {
  AssertWindowThread();
  CreateChild(id, L"STATIC", SS_LEFT | SS_NOPREFIX, parent, bounds, text, GadgetKind::Text);
}

void Win32Gui::SetGadgetText(int id, const std::wstring& text) {
  AssertWindowThread();
  const Gadget* gadget = FindGadget(id);
  if (gadget)
    ::SetWindowTextW(gadget->Hwnd, text.c_str());
}

std::wstring Win32Gui::GadgetText(int id) const {
  const Gadget* gadget = FindGadget(id);
  if (!gadget)
    return L"";
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(gadget->Hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      ::GetWindowTextW(gadget->Hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Win32Gui::SetGadgetFont(int id, platform::FontId font) {
  AssertWindowThread();
  Gadget* gadget = FindGadgetOf(id);
  if (!gadget)
    return;
  if (const HFONT handle = FontHandle(font, DpiOf(gadget->Window))) {
    gadget->Font = font;
    ::SendMessageW(gadget->Hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
  }
}

void Win32Gui::DestroyGadgetsOf(int window) {
  // The tooltip window is owned by the window and goes with it.
  tooltips_.erase(window);
  for (auto it = gadgets_.begin(); it != gadgets_.end();) {
    if (it->second.Window != window) {
      ++it;
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(surfacesLock_);
      surfaces_.erase(it->first);
    }
    it = gadgets_.erase(it);
  }
}

}  // namespace tarvik::win32
