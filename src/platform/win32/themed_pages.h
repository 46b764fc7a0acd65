#pragma once

#include <windows.h>

#include <map>

#include "platform/win32/handles.h"

namespace tarvik::win32 {

using UniqueBrush = Owned<HBRUSH, DeleteGdiObject>;

// The background of the pages inside a tab control. With visual styles on (Windows 10 and 11)
// the tab control's pane is drawn by the theme, lighter than the dialog face: each page paints
// the same pane, and the texts, check boxes and frames on it take it as their background through
// a pattern brush of the page's size. Without a theme the pages keep the plain face colour.
class ThemedPages {
 public:
  ThemedPages() = default;
  ThemedPages(const ThemedPages&) = delete;
  ThemedPages& operator=(const ThemedPages&) = delete;

  // Fills the page's client area; false without a theme.
  bool PaintBackground(HWND page, HDC dc);
  // The brush a control on the page draws its background with, aligned to the page.
  [[nodiscard]] HBRUSH ControlBrush(HWND page, HWND control, HDC dc);
  // The page changed size or the theme changed: the brush is made again when next needed.
  void Forget(HWND page) { brushes_.erase(page); }

 private:
  // The page's pane as a pattern brush; nullptr without a theme.
  [[nodiscard]] HBRUSH BrushOf(HWND page);

  std::map<HWND, UniqueBrush> brushes_;
};

}  // namespace tarvik::win32
