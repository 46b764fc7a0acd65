#include "platform/win32/win32_gui.h"

#include <shellapi.h>

#include <algorithm>

namespace tarvik::win32 {
namespace {

constexpr UINT kTrayIconId = 1;

NOTIFYICONDATAW TrayData(HWND hwnd) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  return data;
}

void CopyTip(const std::wstring& tip, NOTIFYICONDATAW& data) {
  const size_t length = std::min(tip.size(), std::size(data.szTip) - 1);
  std::copy_n(tip.c_str(), length, data.szTip);
  data.szTip[length] = L'\0';
}

}  // namespace

namespace {

UniqueFont MakeFont(const std::wstring& name, int points, platform::FontStyle style, int dpi) {
  return UniqueFont(::CreateFontW(
      -::MulDiv(points, dpi, 72), 0, 0, 0, style == platform::FontStyle::Bold ? FW_BOLD : FW_NORMAL,
      FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
      CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
}

}  // namespace

// A font is made anew for each DPI a window is laid out at, so that its text is drawn crisp at
// that size rather than stretched.
platform::FontId Win32Gui::LoadFont(const std::wstring& name, int points,
                                    platform::FontStyle style) {
  AssertWindowThread();
  UniqueFont font = MakeFont(name, points, style, systemDpi_);
  if (!font)
    return platform::kNoFont;
  std::lock_guard<std::mutex> lock(fontsLock_);
  fonts_.push_back({name, points, style});
  const auto id = static_cast<platform::FontId>(fonts_.size());
  fontsAtDpi_[{id, systemDpi_}] = std::move(font);
  return id;
}

// Canvases look fonts up while workers draw into them, so the table is read under its lock.
HFONT Win32Gui::FontHandle(platform::FontId font, int dpi) const {
  std::lock_guard<std::mutex> lock(fontsLock_);
  if (font <= 0 || font > static_cast<int>(fonts_.size()))
    return nullptr;
  UniqueFont& made = fontsAtDpi_[{font, dpi}];
  if (!made) {
    const FontRequest& request = fonts_[static_cast<size_t>(font - 1)];
    made = MakeFont(request.Name, request.Points, request.Style, dpi);
  }
  return made.Get();
}

void Win32Gui::SetDefaultFont(platform::FontId font) {
  AssertWindowThread();
  defaultFont_ = font;
}

void Win32Gui::CreateImage(int id, platform::Size size,
                           const std::function<void(platform::Canvas&)>& draw) {
  AssertWindowThread();
  DibCanvas pixels(size.Width, size.Height, nullptr);
  if (!pixels.IsValid())
    return;
  draw(pixels);
  pixels.MakeOpaque();
  // The colour bitmap carries every pixel; an all-zero mask keeps them all visible.
  UniqueBitmap mask(::CreateBitmap(size.Width, size.Height, 1, 1, nullptr));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.Get();
  info.hbmColor = pixels.Bitmap();
  UniqueIcon icon(::CreateIconIndirect(&info));
  if (icon)
    images_[id] = std::move(icon);
}

bool Win32Gui::AddTrayIcon(int window, int image, const std::wstring& tip) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(window);
  const auto found = images_.find(image);
  if (!hwnd || found == images_.end())
    return false;
  NOTIFYICONDATAW data = TrayData(hwnd);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = found->second.Get();
  CopyTip(tip, data);
  // After Explorer restarts the old icon may still be known; then it is only updated.
  if (!::Shell_NotifyIconW(NIM_ADD, &data) && !::Shell_NotifyIconW(NIM_MODIFY, &data))
    return false;
  trayWindow_ = window;
  return true;
}

void Win32Gui::SetTrayImage(int image) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(trayWindow_);
  const auto found = images_.find(image);
  if (!hwnd || found == images_.end())
    return;
  NOTIFYICONDATAW data = TrayData(hwnd);
  data.uFlags = NIF_ICON;
  data.hIcon = found->second.Get();
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Win32Gui::SetTrayTip(const std::wstring& tip) {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(trayWindow_);
  if (!hwnd)
    return;
  NOTIFYICONDATAW data = TrayData(hwnd);
  data.uFlags = NIF_TIP;
  CopyTip(tip, data);
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Win32Gui::RemoveTrayIcon() {
  AssertWindowThread();
  const HWND hwnd = WindowHandle(trayWindow_);
  if (!hwnd)
    return;
  NOTIFYICONDATAW data = TrayData(hwnd);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  trayWindow_ = 0;
}

void Win32Gui::OnTrayMessage(int window, LPARAM lParam) {
  platform::TrayAction action;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
      action = platform::TrayAction::LeftClick;
      break;
    case WM_LBUTTONDBLCLK:
      action = platform::TrayAction::LeftDoubleClick;
      break;
    case WM_RBUTTONUP:
      action = platform::TrayAction::RightClick;
      break;
    default:
      return;
  }
  Push({platform::EventKind::Tray, window, 0, static_cast<int>(action), {}});
}

}  // namespace tarvik::win32
