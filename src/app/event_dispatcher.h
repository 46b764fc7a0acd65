#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "app/gadget_routes.h"
#include "app/shortcuts.h"
#include "app/tray_icon.h"
#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/environment.h"
#include "platform/gui.h"

namespace tarvik {

// Turns each window, tray, shortcut and gadget event into an option change, a request for a
// monitor thread, or a window operation. It never samples anything itself.
class EventDispatcher {
 public:
  EventDispatcher(platform::Gui& gui, Settings& settings, TextSlots& texts,
                  platform::Environment& environment, const TrayIcon& tray);

  // Called when the main window is closed, to save the settings if they changed.
  void SetSaveOnClose(std::function<void()> save) { saveOnClose_ = std::move(save); }
  // Called by F5 on the System panel, to read and show the system description again.
  void SetOnSystemRefresh(std::function<void()> refresh) { onSystemRefresh_ = std::move(refresh); }
  // Called when a window was laid out at another DPI, to draw its canvases again.
  void SetOnRescaled(std::function<void(int window)> redraw) { onRescaled_ = std::move(redraw); }

  [[nodiscard]] LoopControl Dispatch(const platform::GuiEvent& event);

  // Where subsystems register the handlers of their gadgets.
  [[nodiscard]] GadgetRoutes& Routes() { return routes_; }
  // A keyboard command that a subsystem serves in the main window while one panel shows, or
  // on every panel (kEveryPanel). Handlers add up, with each other and with the command's own
  // meaning, so a subsystem can never switch off another's keys.
  static constexpr int kEveryPanel = -1;
  void OnCommand(Command command, int panel, std::function<void()> handler);

  // Shows the main window with one panel, raised above the others and back.
  void ShowPanel(int panel);

 private:
  LoopControl OnClose(int window);
  void OnMinimize(int window);
  void OnRestore(int window);
  void OnMove(int window);
  void OnDisplayChanged(int window);
  void OnTray(platform::TrayAction action);
  void OnShortcut(int window, Command command);
  void RunBuiltIn(int window, Command command);
  void RunRegistered(Command command, int panel);
  void Refresh(int window);
  void Reset(int window);
  void Nudge(platform::Point step);
  void CopyPanel();
  void StepPanel(int delta);
  void ShowMiniWindow();
  void ShowMainWindowSettings();
  [[nodiscard]] int CurrentPanel() const;
  [[nodiscard]] bool CanHideToTray() const;

  platform::Gui& gui_;
  Settings& settings_;
  TextSlots& texts_;
  platform::Environment& environment_;
  const TrayIcon& tray_;
  GadgetRoutes routes_;
  std::map<std::pair<Command, int>, std::vector<std::function<void()>>> commands_;
  std::function<void()> saveOnClose_;
  std::function<void()> onSystemRefresh_;
  std::function<void(int)> onRescaled_;
};

}  // namespace tarvik
