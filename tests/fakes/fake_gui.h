#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fakes/pixel_canvas.h"
#include "platform/gui.h"

namespace tarvik::fakes {

// A window system in memory. Tests queue events for WaitEvent and inspect what the program did
// to windows, gadgets, the tray and the desktop. When the queue runs dry, WaitEvent answers with
// a close of `ExitWindow`, so a program under test always ends.
class FakeGui : public platform::Gui {
 public:
  struct Window {
    platform::WindowSpec Layout;
    platform::Rect Bounds;  // outer; the fake frame adds nothing
    bool Visible = false;
    bool Minimized = false;
    bool OnTop = false;
    int Alpha = 255;
    int Raised = 0;
    std::wstring ShutdownBlockReason;
    int Dpi = 96;
  };
  struct Gadget {
    std::string Kind;
    platform::GadgetParent Parent;
    platform::Rect Bounds;
    std::wstring Text;
    platform::FontId Font = platform::kNoFont;
    std::vector<std::wstring> Tabs;
    int SelectedTab = 0;
    std::unique_ptr<PixelCanvas> Pixels;
    // Workers draw while the window thread may give the canvas new pixels, as Windows' canvases
    // are drawn under their own lock.
    std::unique_ptr<std::mutex> PixelsLock = std::make_unique<std::mutex>();
    bool Enabled = true;
    std::wstring Tooltip;
    std::vector<platform::ListColumn> Columns;
    std::vector<std::wstring> Rows;  // list rows, or selector items
    int Selected = -1;
    platform::CheckState Check = platform::CheckState::Unchecked;
    bool ReadOnly = false;
    int Minimum = 0;
    int Maximum = 0;
    int Position = 0;
    int ContentHeight = 0;  // a scrolling canvas's content
    int ScrollStep = 0;
  };
  struct ShortcutEntry {
    int Window;
    platform::Shortcut Keys;
    int Command;
  };
  struct FontEntry {
    std::wstring Name;
    int Points;
    platform::FontStyle Style;
  };

  // Test controls
  std::deque<platform::GuiEvent> Events;
  int ExitWindow = 100;
  platform::Size Desktop{1280, 800};
  int MonitorDpi = 96;  // windows open laid out at this DPI
  platform::Rect Work{0, 0, 1280, 760};
  bool ShiftDown = false;
  bool TrayRefused = false;  // AddTrayIcon fails, as with no notification area
  std::optional<std::wstring> NextDialogAnswer;
  std::vector<std::wstring> Notices;  // "title: text" of every notice shown
  // Runs at every wait for an event, to look at the program while its loop runs.
  std::function<void()> OnWait;
  std::set<int> RefusedWindows;  // OpenWindow fails for these
  // Like Windows' own window rectangle, a minimised window reports the parking place
  // (-32000, -32000) instead of where it will be restored.
  bool ReportParkingPlace = false;
  // When set, the calls that shut-down makes in order are noted here ("hide 101", "close 100").
  std::vector<std::string>* Steps = nullptr;

  // What the program did
  std::map<int, Window> Windows;
  std::vector<int> ClosedWindows;
  std::map<int, Gadget> Gadgets;
  std::vector<FontEntry> Fonts;
  platform::FontId DefaultFont = platform::kNoFont;
  std::map<int, std::unique_ptr<PixelCanvas>> Images;
  std::map<std::wstring, uint32_t> Registered;
  std::vector<uint32_t> Broadcasts;
  std::vector<ShortcutEntry> Shortcuts;
  std::map<int, std::pair<int, int>> Timers;  // window -> (timer, milliseconds)
  platform::MessageHandler* Handler = nullptr;
  int HandlerWindow = 0;
  bool TrayShown = false;
  int TrayImage = 0;
  std::wstring TrayTip;
  int TrayAdds = 0;
  std::atomic<int> Wakes{0};
  // Refuses wakes as a full message queue would.
  std::atomic<bool> WakeRefused{false};
  std::vector<std::wstring> DialogTitles;
  std::map<int, std::wstring> TextHistory;  // last text of every text gadget, kept after closing
  std::map<int, std::unique_ptr<PixelCanvas>> ClosedCanvases;  // canvases of closed windows

  std::map<int, std::vector<std::wstring>> ListHistory;  // last rows of every list, kept

  [[nodiscard]] std::vector<std::wstring> TextHistoryOfList(int id) const {
    const auto found = ListHistory.find(id);
    return found == ListHistory.end() ? std::vector<std::wstring>{} : found->second;
  }
  // The texts drawn on a canvas, in order, also after its window closed.
  [[nodiscard]] std::vector<std::wstring> TextHistoryOfCanvas(int id) const;

  // Lays a window out at another DPI as the system would after a DPI change: its canvases come
  // back blank at their new sizes and the program hears Rescaled.
  void Rescale(int window, int dpi);
  // Delivers a system message as Windows would, through the installed window callback.
  bool SendSystemMessage(const platform::SystemMessage& message);
  [[nodiscard]] uint32_t MessageId(const std::wstring& name) const;

  bool OpenWindow(int id, const platform::WindowSpec& layout) override;
  void CloseWindow(int id) override;
  bool WindowExists(int id) const override { return Windows.count(id) > 0; }
  void ShowWindow(int id, platform::ShowMode mode) override;
  bool IsWindowVisible(int id) const override;
  bool IsWindowMinimized(int id) const override;
  void MoveWindow(int id, platform::Point to) override;
  platform::Rect WindowBounds(int id) const override;
  void SetWindowTitle(int id, const std::wstring& title) override;
  std::wstring WindowTitle(int id) const override;
  void SetAlwaysOnTop(int id, bool onTop) override;
  void RaiseWindow(int id) override;
  void SetWindowAlpha(int id, int alpha) override;
  void SetWindowFrame(int id, platform::WindowFrame frame) override;
  platform::WindowFrame FrameOf(int id) const override;
  int WindowDpi(int id) const override;
  void FitWindowToCanvas(int window, int canvas, platform::Size pixels) override;

  void CreatePanel(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                   const std::vector<std::wstring>& tabCaptions) override;
  void SelectPanelTab(int id, int tab) override;
  int SelectedPanelTab(int id) const override;
  void CreateCanvas(int id, const platform::GadgetParent& parent,
                    const platform::Rect& bounds) override;
  void DrawCanvas(int id, const std::function<void(platform::Canvas&)>& draw) override;
  [[nodiscard]] platform::Size CanvasExtent(int id) const override;
  void SetCanvasScroll(int id, int contentHeight, int step, int top) override;
  [[nodiscard]] int CanvasScrollTop(int id) const override;
  void CreateText(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                  const std::wstring& text) override;
  void SetGadgetText(int id, const std::wstring& text) override;
  std::wstring GadgetText(int id) const override;
  void SetGadgetFont(int id, platform::FontId font) override;
  void EnableGadget(int id, bool enabled) override;
  bool IsGadgetEnabled(int id) const override;
  void SetTooltip(int id, const std::wstring& tip) override;
  void CreateList(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                  const std::vector<platform::ListColumn>& columns) override;
  void SetListRows(int id, std::vector<std::wstring> rows) override;
  std::vector<std::wstring> ListRows(int id) const override;
  std::vector<platform::ListColumn> ListColumns(int id) const override;
  void CreateSelector(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                      const std::vector<std::wstring>& items) override;
  void SetSelectorItems(int id, const std::vector<std::wstring>& items) override;
  void SelectItem(int id, int index) override;
  int SelectedItem(int id) const override;
  void CreateButton(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                    const std::wstring& caption) override;
  void CreateCheckBox(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                      const std::wstring& caption) override;
  void SetCheckState(int id, platform::CheckState state) override;
  platform::CheckState GetCheckState(int id) const override;
  void CreateFrame(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                   const std::wstring& caption) override;
  void CreateTextField(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                       const std::wstring& text, bool readOnly) override;
  void SetTextFieldReadOnly(int id, bool readOnly) override;
  void CreateSlider(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                    int minimum, int maximum) override;
  void SetSliderPosition(int id, int position) override;
  int SliderPosition(int id) const override;

  platform::FontId LoadFont(const std::wstring& name, int points,
                            platform::FontStyle style) override;
  void SetDefaultFont(platform::FontId font) override { DefaultFont = font; }
  void CreateImage(int id, platform::Size size,
                   const std::function<void(platform::Canvas&)>& draw) override;
  bool AddTrayIcon(int window, int image, const std::wstring& tip) override;
  void SetTrayImage(int image) override;
  void SetTrayTip(const std::wstring& tip) override;
  void RemoveTrayIcon() override;

  void AddShortcut(int window, platform::Shortcut keys, int command) override;
  void StartTimer(int window, int timer, int milliseconds) override;
  void StopTimer(int window, int timer) override;
  bool IsShiftDown() const override { return ShiftDown; }
  platform::GuiEvent WaitEvent(int timeoutMs) override;
  bool Wake() override {
    Wakes.fetch_add(1);
    return !WakeRefused.load();
  }

  uint32_t RegisterMessage(const std::wstring& name) override;
  void BroadcastMessage(uint32_t message) override { Broadcasts.push_back(message); }
  void SetMessageHandler(platform::MessageHandler* handler, int window) override;
  platform::Size DesktopSize() const override { return Desktop; }
  platform::Rect WorkAreaOf(int) const override { return Work; }
  void BlockShutdown(int window, const std::wstring& reason) override;
  void UnblockShutdown(int window) override;
  std::optional<std::wstring> AskSaveFile(const std::wstring& title,
                                          const std::wstring& filter) override;
  std::optional<std::wstring> AskOpenFile(const std::wstring& title,
                                          const std::wstring& filter) override;
  void ShowNotice(const std::wstring& title, const std::wstring& text) override {
    Notices.push_back(title + L": " + text);
  }

 private:
  void Note(const std::string& step, int id = 0);
  // Fails the running test when a window-thread call comes from another thread.
  void CheckWindowThread() const;

  std::thread::id windowThread_ = std::this_thread::get_id();
  int wakesDelivered_ = 0;
  Window* FindWindow(int id);
  const Window* FindWindow(int id) const;
  Gadget& Add(int id, const char* kind, const platform::GadgetParent& parent,
              const platform::Rect& bounds, const std::wstring& text = L"");
  Gadget* Find(int id);
  const Gadget* Find(int id) const;
};

}  // namespace tarvik::fakes
