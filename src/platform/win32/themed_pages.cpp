#include "platform/win32/themed_pages.h"

#include <uxtheme.h>
#include <vssym32.h>

namespace tarvik::win32 {
namespace {

class ThemeOf {
 public:
  explicit ThemeOf(HWND tab) : theme_(::IsAppThemed() ? ::OpenThemeData(tab, L"TAB") : nullptr) {}
  ~ThemeOf() {
    if (theme_)
      ::CloseThemeData(theme_);
  }
  ThemeOf(const ThemeOf&) = delete;
  ThemeOf& operator=(const ThemeOf&) = delete;
  [[nodiscard]] HTHEME Get() const { return theme_; }

 private:
  HTHEME theme_;
};

UniqueBrush PaneBrush(HWND page) {
  const ThemeOf theme(::GetParent(page));
  RECT area{};
  if (!theme.Get() || !::GetClientRect(page, &area) || area.right <= 0 || area.bottom <= 0)
    return {};
  const HDC screen = ::GetDC(page);
  const UniqueDc memory(::CreateCompatibleDC(screen));
  const UniqueBitmap pane(::CreateCompatibleBitmap(screen, area.right, area.bottom));
  ::ReleaseDC(page, screen);
  if (!memory || !pane)
    return {};
  const HGDIOBJ old = ::SelectObject(memory.Get(), pane.Get());
  const HRESULT drawn =
      ::DrawThemeBackground(theme.Get(), memory.Get(), TABP_BODY, 0, &area, nullptr);
  ::SelectObject(memory.Get(), old);
  if (FAILED(drawn))
    return {};
  return UniqueBrush(::CreatePatternBrush(pane.Get()));
}

}  // namespace

HBRUSH ThemedPages::BrushOf(HWND page) {
  auto found = brushes_.find(page);
  if (found == brushes_.end())
    found = brushes_.emplace(page, PaneBrush(page)).first;
  return found->second.Get();
}

bool ThemedPages::PaintBackground(HWND page, HDC dc) {
  const HBRUSH brush = BrushOf(page);
  if (!brush)
    return false;
  RECT area{};
  ::GetClientRect(page, &area);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  ::FillRect(dc, &area, brush);
  return true;
}

HBRUSH ThemedPages::ControlBrush(HWND page, HWND control, HDC dc) {
  const HBRUSH brush = BrushOf(page);
  if (!brush)
    return ::GetSysColorBrush(COLOR_BTNFACE);
  POINT origin{0, 0};
  ::MapWindowPoints(control, page, &origin, 1);
  ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  return brush;
}

}  // namespace tarvik::win32
