#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/geometry.h"

namespace tarvik::platform {

// Windows and gadgets are addressed by the program's fixed numbers; the implementation keeps
// the mapping to native handles. Gadgets are placed in 96-DPI base units; each window shows its
// gadgets at a DPI of its own (see WindowDpi), and canvases are drawn in pixels of that DPI.
// Window positions and the desktop are in desktop units: pixels at the DPI the program started
// with, so that a saved position means the same place at every start.

enum class WindowFrame { Caption, Borderless, Notice };

struct WindowSpec {
  Rect Bounds;  // position of the outer window (desktop units), size of its client area
  std::wstring Title;
  WindowFrame Frame = WindowFrame::Caption;
  bool Visible = true;
  bool Layered = false;
};

enum class ShowMode { Hide, Show, Normal, Minimize };

// Where a gadget lives: a window, and optionally one tab of a panel gadget in it.
struct GadgetParent {
  int Window = 0;
  int Panel = 0;
  int Tab = -1;
};

enum class FontStyle { Normal, Bold };

// A column of a report list: its title and width in base units.
struct ListColumn {
  std::wstring Title;
  int Width = 0;
};

// The room a list that can scroll leaves at its right for its vertical scroll bar (the bar's
// width at 100 %, in base units): with its columns filling that room too, the bar's coming
// would bring a horizontal one that hides the last row.
inline constexpr int kListScrollBarRoom = 17;

enum class CheckState { Unchecked, Checked, Indeterminate };

enum class Key { F5, F6, Up, Down, Left, Right, C, S, I, Tab, Return, PageUp, PageDown };
struct Shortcut {
  Key Pressed = Key::F5;
  bool Ctrl = false;
  bool Shift = false;
};

// Wake: a worker queued window updates (see Gui::Wake). Rescaled: the window was laid out at
// another DPI (the event's Detail); its canvases are blank at their new sizes and wait to be
// drawn again. DisplayChanged: a display, a monitor or the work area changed; the window may
// now lie outside every work area.
enum class EventKind {
  None,
  Close,
  Minimize,
  Restore,
  Move,
  Gadget,
  Shortcut,
  Tray,
  Timer,
  Wake,
  Rescaled,
  DisplayChanged
};
// Scroll: a scrolling canvas moved; the event's Mouse.Y is its new top.
enum class GadgetAction { Click, RightClick, Change, MouseMove, Scroll };
enum class TrayAction { LeftClick, LeftDoubleClick, RightClick };

struct GuiEvent {
  EventKind Kind = EventKind::None;
  int Window = 0;
  int Gadget = 0;
  int Detail = 0;  // GadgetAction, TrayAction, shortcut command or timer number
  Point Mouse;     // for clicks and moves: in the canvas's own pixels, as it is drawn
};

// Messages that reach the window callback directly, before the event loop sees anything.
enum class SystemMessageKind {
  QueryEndSession,
  EndSession,
  Registered,
  VolumeArrival,
  VolumeRemoval
};

struct SystemMessage {
  SystemMessageKind Kind = SystemMessageKind::Registered;
  uint32_t RegisteredId = 0;
  uint32_t UnitMask = 0;  // drives A (bit 0) to Z for volume messages
};

// The window callback: runs on the window thread, before the event loop sees anything.
class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  // Every message of the program's windows passes here first (counted for statistics).
  virtual void CountMessage() = 0;
  // Returns true when the message is fully handled and must answer 0.
  virtual bool OnSystemMessage(const SystemMessage& message) = 0;
};

// Every call belongs to the window thread (the thread that built the Gui) except the two marked
// "any thread": DrawCanvas and Wake. Workers change what the windows show only through those:
// they draw into a canvas, or queue an update and wake the window thread, which applies it.
class Gui {
 public:
  virtual ~Gui() = default;

  // Windows
  [[nodiscard]] virtual bool OpenWindow(int id, const WindowSpec& layout) = 0;
  virtual void CloseWindow(int id) = 0;
  [[nodiscard]] virtual bool WindowExists(int id) const = 0;
  virtual void ShowWindow(int id, ShowMode mode) = 0;
  [[nodiscard]] virtual bool IsWindowVisible(int id) const = 0;
  [[nodiscard]] virtual bool IsWindowMinimized(int id) const = 0;
  // A minimised window keeps its icon; it is restored at the new place.
  virtual void MoveWindow(int id, Point to) = 0;
  // Outer position and size; for a minimised window, where it will be restored.
  [[nodiscard]] virtual Rect WindowBounds(int id) const = 0;
  virtual void SetWindowTitle(int id, const std::wstring& title) = 0;
  [[nodiscard]] virtual std::wstring WindowTitle(int id) const = 0;
  virtual void SetAlwaysOnTop(int id, bool onTop) = 0;
  virtual void RaiseWindow(int id) = 0;  // above all others and back
  virtual void SetWindowAlpha(int id, int alpha) = 0;
  // Changes a window's frame in place, keeping its position and client size.
  virtual void SetWindowFrame(int id, WindowFrame frame) = 0;
  // The DPI a window's gadgets are laid out at: its monitor's, or the largest at which the window
  // fits that monitor's work area. 96 draws one pixel per base unit.
  [[nodiscard]] virtual int WindowDpi(int id) const = 0;
  [[nodiscard]] virtual WindowFrame FrameOf(int id) const = 0;
  // Gives a canvas `pixels` of drawing (in its own pixels, as its Extent counts them) and sizes
  // the window's client area to end where the canvas ends, keeping the window's position; a
  // minimised window gets the size where it will be restored. The canvas's drawing is lost:
  // draw it again.
  virtual void FitWindowToCanvas(int window, int canvas, Size pixels) = 0;

  // Gadgets
  virtual void CreatePanel(int id, const GadgetParent& parent, const Rect& bounds,
                           const std::vector<std::wstring>& tabCaptions) = 0;
  virtual void SelectPanelTab(int id, int tab) = 0;
  [[nodiscard]] virtual int SelectedPanelTab(int id) const = 0;
  virtual void CreateCanvas(int id, const GadgetParent& parent, const Rect& bounds) = 0;
  // Any thread: draws into the canvas's backing bitmap under its lock, then queues a repaint
  // (never waits for the window thread).
  virtual void DrawCanvas(int id, const std::function<void(Canvas&)>& draw) = 0;
  // The canvas's size in its own pixels; nothing for an unknown canvas.
  [[nodiscard]] virtual Size CanvasExtent(int id) const = 0;
  // Makes the canvas a window onto a taller content: a vertical scroll bar (from then on part of
  // the canvas, which keeps its outer size and loses the bar's width of drawing), the content's
  // height, one scroll step and the top shown, in canvas pixels. The scroll bar and the mouse
  // wheel move the top by steps and give Scroll events; the owner draws what the top shows.
  virtual void SetCanvasScroll(int id, int contentHeight, int step, int top) = 0;
  [[nodiscard]] virtual int CanvasScrollTop(int id) const = 0;
  virtual void CreateText(int id, const GadgetParent& parent, const Rect& bounds,
                          const std::wstring& text) = 0;
  // The caption of a text, button, check box or frame, or the contents of a text field.
  virtual void SetGadgetText(int id, const std::wstring& text) = 0;
  [[nodiscard]] virtual std::wstring GadgetText(int id) const = 0;
  virtual void SetGadgetFont(int id, FontId font) = 0;
  virtual void EnableGadget(int id, bool enabled) = 0;
  [[nodiscard]] virtual bool IsGadgetEnabled(int id) const = 0;
  virtual void SetTooltip(int id, const std::wstring& tip) = 0;

  // Lists show rows of text whose columns are separated by line feeds. A report list has a
  // title row; a plain list (empty `columns`) has one column and none. The first column is shown
  // as wide as the others leave it: the list's width less its frame and, where the widths given
  // leave kListScrollBarRoom, less the scroll bar as wide as the system draws it. The rows live
  // in the window thread: workers change their own model and queue a refresh that sets them here.
  virtual void CreateList(int id, const GadgetParent& parent, const Rect& bounds,
                          const std::vector<ListColumn>& columns) = 0;
  virtual void SetListRows(int id, std::vector<std::wstring> rows) = 0;
  [[nodiscard]] virtual std::vector<std::wstring> ListRows(int id) const = 0;
  [[nodiscard]] virtual std::vector<ListColumn> ListColumns(int id) const = 0;

  // A drop-down selector; choosing an item gives a Change event.
  virtual void CreateSelector(int id, const GadgetParent& parent, const Rect& bounds,
                              const std::vector<std::wstring>& items) = 0;
  virtual void SetSelectorItems(int id, const std::vector<std::wstring>& items) = 0;
  virtual void SelectItem(int id, int index) = 0;
  [[nodiscard]] virtual int SelectedItem(int id) const = 0;  // -1 when none

  // Buttons and check boxes give a Click event; a check box's state is the program's to set.
  virtual void CreateButton(int id, const GadgetParent& parent, const Rect& bounds,
                            const std::wstring& caption) = 0;
  virtual void CreateCheckBox(int id, const GadgetParent& parent, const Rect& bounds,
                              const std::wstring& caption) = 0;
  virtual void SetCheckState(int id, CheckState state) = 0;
  [[nodiscard]] virtual CheckState GetCheckState(int id) const = 0;
  // A framed group with a caption, drawn behind the gadgets placed in it.
  virtual void CreateFrame(int id, const GadgetParent& parent, const Rect& bounds,
                           const std::wstring& caption) = 0;
  // A one-line text field; typing in it gives Change events.
  virtual void CreateTextField(int id, const GadgetParent& parent, const Rect& bounds,
                               const std::wstring& text, bool readOnly) = 0;
  virtual void SetTextFieldReadOnly(int id, bool readOnly) = 0;
  // A horizontal slider over [minimum, maximum]; moving it gives Change events.
  virtual void CreateSlider(int id, const GadgetParent& parent, const Rect& bounds, int minimum,
                            int maximum) = 0;
  virtual void SetSliderPosition(int id, int position) = 0;
  [[nodiscard]] virtual int SliderPosition(int id) const = 0;

  // Fonts, images, tray
  [[nodiscard]] virtual FontId LoadFont(const std::wstring& name, int points, FontStyle style) = 0;
  virtual void SetDefaultFont(FontId font) = 0;
  virtual void CreateImage(int id, Size size, const std::function<void(Canvas&)>& draw) = 0;
  [[nodiscard]] virtual bool AddTrayIcon(int window, int image, const std::wstring& tip) = 0;
  virtual void SetTrayImage(int image) = 0;
  virtual void SetTrayTip(const std::wstring& tip) = 0;
  virtual void RemoveTrayIcon() = 0;

  // Input and timing
  virtual void AddShortcut(int window, Shortcut keys, int command) = 0;
  // A repeating timer: a Timer event every `milliseconds` until stopped; starting it again
  // restarts its count.
  virtual void StartTimer(int window, int timer, int milliseconds) = 0;
  virtual void StopTimer(int window, int timer) = 0;
  [[nodiscard]] virtual bool IsShiftDown() const = 0;
  // Waits for the next event; -1 waits without limit, a timeout gives EventKind::None.
  [[nodiscard]] virtual GuiEvent WaitEvent(int timeoutMs) = 0;
  // Any thread: makes the window thread's WaitEvent return an EventKind::Wake event soon; false
  // when the note could not be posted (the window thread's queue is full).
  [[nodiscard]] virtual bool Wake() = 0;

  // System messages and the desktop
  [[nodiscard]] virtual uint32_t RegisterMessage(const std::wstring& name) = 0;
  virtual void BroadcastMessage(uint32_t message) = 0;
  // The handler sees the system messages that reach `window` (they reach every top-level window;
  // one window is enough) and counts the messages of all windows. nullptr removes it.
  virtual void SetMessageHandler(MessageHandler* handler, int window) = 0;
  [[nodiscard]] virtual Size DesktopSize() const = 0;
  // The work area (the desktop less the taskbar) of the monitor that holds most of the window,
  // or of the primary monitor when there is no such window.
  [[nodiscard]] virtual Rect WorkAreaOf(int window) const = 0;
  virtual void BlockShutdown(int window, const std::wstring& reason) = 0;

  // File dialogs; the filter reads "Description (*.ext)| *.ext". Empty optional when cancelled.
  [[nodiscard]] virtual std::optional<std::wstring> AskSaveFile(const std::wstring& title,
                                                                const std::wstring& filter) = 0;
  [[nodiscard]] virtual std::optional<std::wstring> AskOpenFile(const std::wstring& title,
                                                                const std::wstring& filter) = 0;
  // A message the user confirms with OK before going on, with the warning icon.
  virtual void ShowNotice(const std::wstring& title, const std::wstring& text) = 0;
  virtual void UnblockShutdown(int window) = 0;
};

}  // namespace tarvik::platform
