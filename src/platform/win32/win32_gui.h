#pragma once

#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gui.h"
#include "platform/win32/dib_canvas.h"
#include "platform/win32/handles.h"
#include "platform/win32/themed_pages.h"
#include "platform/win32/user32_extras.h"

namespace tarvik::win32 {

inline constexpr UINT kTrayMessage = WM_APP + 1;
inline constexpr UINT kWakeMessage = WM_APP + 2;

// The virtual-key code of a shortcut key.
[[nodiscard]] int VirtualKeyFor(platform::Key key);

// A canvas gadget's backing bitmap: workers draw into it under its lock, the window's paint only
// copies it to the screen.
// A canvas's bitmap is made at its first drawing: the graphs of a tab that is never opened, or
// of a main window that stays in the tray, cost no memory.
struct CanvasSurface {
  HWND Window = nullptr;
  std::mutex Lock;
  platform::Size Extent;
  int Dpi = 96;  // its window's layout: the fonts it draws with are made for this DPI
  std::unique_ptr<DibCanvas> Pixels;
  // Set for a new bitmap: its first drawing is shown whole, later ones only where pixels changed.
  bool Fresh = true;
  int ScrollStep = 0;  // above 0 once the canvas scrolls
};

// The Windows implementation of the program's window system. All windows live on the thread that
// created this object; only DrawCanvas and Wake may be called from other threads (debug builds
// check that every other call comes from the window thread).
class Win32Gui final : public platform::Gui {
 public:
  Win32Gui();
  ~Win32Gui() override;
  Win32Gui(const Win32Gui&) = delete;
  Win32Gui& operator=(const Win32Gui&) = delete;

  // Windows
  bool OpenWindow(int id, const platform::WindowSpec& layout) override;
  void CloseWindow(int id) override;
  [[nodiscard]] bool WindowExists(int id) const override;
  void ShowWindow(int id, platform::ShowMode mode) override;
  [[nodiscard]] bool IsWindowVisible(int id) const override;
  [[nodiscard]] bool IsWindowMinimized(int id) const override;
  void MoveWindow(int id, platform::Point to) override;
  [[nodiscard]] platform::Rect WindowBounds(int id) const override;
  void SetWindowTitle(int id, const std::wstring& title) override;
  [[nodiscard]] std::wstring WindowTitle(int id) const override;
  void SetAlwaysOnTop(int id, bool onTop) override;
  void RaiseWindow(int id) override;
  void SetWindowAlpha(int id, int alpha) override;
  void SetWindowFrame(int id, platform::WindowFrame frame) override;
  [[nodiscard]] platform::WindowFrame FrameOf(int id) const override;
  [[nodiscard]] int WindowDpi(int id) const override;
  void FitWindowToCanvas(int window, int canvas, platform::Size pixels) override;

  // Gadgets
  void CreatePanel(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                   const std::vector<std::wstring>& tabCaptions) override;
  void SelectPanelTab(int id, int tab) override;
  [[nodiscard]] int SelectedPanelTab(int id) const override;
  void CreateCanvas(int id, const platform::GadgetParent& parent,
                    const platform::Rect& bounds) override;
  void DrawCanvas(int id, const std::function<void(platform::Canvas&)>& draw) override;
  [[nodiscard]] platform::Size CanvasExtent(int id) const override;
  void SetCanvasScroll(int id, int contentHeight, int step, int top) override;
  [[nodiscard]] int CanvasScrollTop(int id) const override;
  void CreateText(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                  const std::wstring& text) override;
  void SetGadgetText(int id, const std::wstring& text) override;
  [[nodiscard]] std::wstring GadgetText(int id) const override;
  void SetGadgetFont(int id, platform::FontId font) override;
  void EnableGadget(int id, bool enabled) override;
  [[nodiscard]] bool IsGadgetEnabled(int id) const override;
  void SetTooltip(int id, const std::wstring& tip) override;
  void CreateList(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                  const std::vector<platform::ListColumn>& columns) override;
  void SetListRows(int id, std::vector<std::wstring> rows) override;
  [[nodiscard]] std::vector<std::wstring> ListRows(int id) const override;
  [[nodiscard]] std::vector<platform::ListColumn> ListColumns(int id) const override;
  void CreateSelector(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                      const std::vector<std::wstring>& items) override;
  void SetSelectorItems(int id, const std::vector<std::wstring>& items) override;
  void SelectItem(int id, int index) override;
  [[nodiscard]] int SelectedItem(int id) const override;
  void CreateButton(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                    const std::wstring& caption) override;
  void CreateCheckBox(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                      const std::wstring& caption) override;
  void SetCheckState(int id, platform::CheckState state) override;
  [[nodiscard]] platform::CheckState GetCheckState(int id) const override;
  void CreateFrame(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                   const std::wstring& caption) override;
  void CreateTextField(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                       const std::wstring& text, bool readOnly) override;
  void SetTextFieldReadOnly(int id, bool readOnly) override;
  void CreateSlider(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                    int minimum, int maximum) override;
  void SetSliderPosition(int id, int position) override;
  [[nodiscard]] int SliderPosition(int id) const override;

  // Fonts, images, tray
  [[nodiscard]] platform::FontId LoadFont(const std::wstring& name, int points,
                                          platform::FontStyle style) override;
  void SetDefaultFont(platform::FontId font) override;
  void CreateImage(int id, platform::Size size,
                   const std::function<void(platform::Canvas&)>& draw) override;
  [[nodiscard]] bool AddTrayIcon(int window, int image, const std::wstring& tip) override;
  void SetTrayImage(int image) override;
  void SetTrayTip(const std::wstring& tip) override;
  void RemoveTrayIcon() override;

  // Input and timing
  void AddShortcut(int window, platform::Shortcut keys, int command) override;
  void StartTimer(int window, int timer, int milliseconds) override;
  void StopTimer(int window, int timer) override;
  [[nodiscard]] bool IsShiftDown() const override;
  [[nodiscard]] platform::GuiEvent WaitEvent(int timeoutMs) override;
  [[nodiscard]] bool Wake() override;

  // System messages and the desktop
  [[nodiscard]] uint32_t RegisterMessage(const std::wstring& name) override;
  void BroadcastMessage(uint32_t message) override;
  void SetMessageHandler(platform::MessageHandler* handler, int window) override;
  [[nodiscard]] platform::Size DesktopSize() const override;
  [[nodiscard]] platform::Rect WorkAreaOf(int window) const override;
  void BlockShutdown(int window, const std::wstring& reason) override;
  void UnblockShutdown(int window) override;
  [[nodiscard]] std::optional<std::wstring> AskSaveFile(const std::wstring& title,
                                                        const std::wstring& filter) override;
  [[nodiscard]] std::optional<std::wstring> AskOpenFile(const std::wstring& title,
                                                        const std::wstring& filter) override;
  void ShowNotice(const std::wstring& title, const std::wstring& text) override;

  // Called by the window procedures.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCanvasMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void ScrollCanvas(HWND hwnd, int id, int code, int wheelNotches);
  LRESULT OnPageMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class GadgetKind {
    Panel,
    Canvas,
    Text,
    List,
    Selector,
    Button,
    CheckBox,
    Frame,
    Field,
    Slider
  };
  struct Gadget {
    HWND Hwnd = nullptr;
    GadgetKind Kind = GadgetKind::Text;
    int Window = 0;
    platform::Rect Base;  // where it lies in base units: laid out again from here at a new DPI
    platform::FontId Font = platform::kNoFont;
    std::vector<HWND> Pages;                    // panels only
    std::vector<platform::ListColumn> Columns;  // lists only
    std::vector<std::wstring> Rows;             // lists only
  };
  // A window's layout: the DPI it is shown at and its client area in base units.
  struct WindowLayout {
    int Dpi = 96;
    platform::Size BaseClient;
  };
  struct FontRequest {
    std::wstring Name;
    int Points = 0;
    platform::FontStyle Style = platform::FontStyle::Normal;
  };
  struct ShortcutEntry {
    int Window;
    platform::Shortcut Keys;
    int Command;
  };

  void DeliverPostedMessages(HWND hwnd);
  void AssertWindowThread() const;
  [[nodiscard]] HWND WindowHandle(int id) const;
  void KeepPinnedWindowsOnTop();
  [[nodiscard]] int WindowIdOf(HWND hwnd) const;
  [[nodiscard]] HWND ParentHandle(const platform::GadgetParent& parent) const;
  [[nodiscard]] const Gadget* FindGadget(int id) const;
  // The font made for a DPI, made at its first use; null for an unknown font.
  [[nodiscard]] HFONT FontHandle(platform::FontId font, int dpi) const;
  [[nodiscard]] std::unique_ptr<DibCanvas> NewCanvasPixels(platform::Size pixels, int dpi);
  [[nodiscard]] std::shared_ptr<CanvasSurface> FindSurface(int id) const;
  // Sets a window's outer size so that its client area is `client` device pixels.
  void SetClientPixels(HWND hwnd, SIZE client);
  // Screen positions and sizes the program keeps (its desktop units) are pixels at the DPI the
  // program started with; a window's own layout is at the DPI of its monitor.
  [[nodiscard]] int Scale(int value) const;
  [[nodiscard]] int Unscale(int value) const;
  [[nodiscard]] int DpiOf(int window) const;
  [[nodiscard]] int MonitorDpiOf(HWND hwnd) const;
  // The frame a window of this style has at a DPI: what it adds to the client area, in pixels.
  [[nodiscard]] SIZE FrameAt(HWND hwnd, int dpi) const;
  // Chooses the DPI of a window's layout on its monitor; the largest that fits its work area
  // there, or, when `mayGrow` is false, only a smaller one than the layout has.
  void FitLayoutToMonitor(int window, bool mayGrow);
  // Lays every gadget of the window out again at `dpi` (positions, sizes, fonts, list columns,
  // blank canvases of the new size) and sizes its client area; the program hears Rescaled.
  void LayOutAt(int window, int dpi);
  void LayOutGadget(Gadget& gadget, int id, int dpi);
  void OnDpiChanged(HWND hwnd, WPARAM wParam, LPARAM lParam);
  void OnDisplayChanged(HWND hwnd);
  HWND CreateChild(int id, const wchar_t* windowClass, DWORD style,
                   const platform::GadgetParent& parent, const platform::Rect& bounds,
                   const std::wstring& text, GadgetKind kind);
  void ShowPanelPage(const Gadget& panel, int tab);
  [[nodiscard]] static RECT PageArea(HWND tab);
  void SizeListColumns(const Gadget& list, int dpi);
  // A vertical scroll bar's width as the system draws it at a DPI.
  [[nodiscard]] int ScrollBarWidth(int dpi) const;
  void Push(platform::GuiEvent event);
  // The program's shortcuts, then Tab and Shift+Tab through the controls; true when the key
  // was used.
  bool TranslateKeyboard(const MSG& message);
  bool TranslateShortcut(const MSG& message, int window);
  bool MoveFocusByTab(HWND root, bool backwards);
  bool OnSystemMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnNotify(NMHDR& header);
  // Notices that controls send their parent: clicks, choices, typing, slider moves.
  void OnControlNotice(UINT message, WPARAM wParam, LPARAM lParam);
  void OnControlCommand(WPARAM wParam);
  void OnSliderScroll(LPARAM lParam);
  void OnListDisplayInfo(NMLVDISPINFOW& info);
  [[nodiscard]] Gadget* FindGadgetOf(int id);
  [[nodiscard]] HWND TooltipWindow(int window);
  void PushGadgetEvent(int id, platform::GadgetAction action);
  void OnTrayMessage(int window, LPARAM lParam);
  void DestroyGadgetsOf(int window);

  // Tooltips wrap at this width, in base units.
  static constexpr int kTooltipWidth = 400;

  HINSTANCE instance_;
  DWORD windowThread_;
  // A message-only window that Wake posts to: a posted window message is delivered even while a
  // modal loop (a drag, a dialog) runs, where a thread message would be lost.
  HWND wakeWindow_ = nullptr;
  int systemDpi_ = 96;
  User32Extras user32_;
  std::map<int, HWND> windows_;
  std::map<int, platform::WindowFrame> frames_;
  std::map<int, WindowLayout> layouts_;
  std::map<int, Gadget> gadgets_;
  mutable std::mutex surfacesLock_;
  std::map<int, std::shared_ptr<CanvasSurface>> surfaces_;
  mutable std::mutex fontsLock_;
  std::vector<FontRequest> fonts_;
  mutable std::map<std::pair<platform::FontId, int>, UniqueFont> fontsAtDpi_;
  platform::FontId defaultFont_ = platform::kNoFont;
  std::map<int, UniqueIcon> images_;
  std::vector<ShortcutEntry> shortcuts_;
  std::deque<platform::GuiEvent> events_;
  std::vector<uint32_t> registeredMessages_;
  platform::MessageHandler* handler_ = nullptr;
  int handlerWindow_ = 0;
  int trayWindow_ = 0;
  std::map<int, HWND> tooltips_;  // one per top-level window
  std::wstring listCellText_;     // the cell text a list asked for last, kept while it draws
  ThemedPages themedPages_;
};

}  // namespace tarvik::win32
