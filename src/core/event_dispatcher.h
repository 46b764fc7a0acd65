#pragma once

#include <functional>

#include "core/settings.h"
#include "core/shortcuts.h"
#include "core/text_slots.h"
#include "platform/environment.h"
#include "platform/gui.h"

namespace tarvik {

enum class LoopControl { Continue, Exit };

// Turns each window, tray, shortcut and gadget event into an option change, a request for a
// monitor thread, or a window operation. It never samples anything itself.
class EventDispatcher {
 public:
  EventDispatcher(platform::Gui& gui, Settings& settings, TextSlots& texts,
                  platform::Environment& environment);

  // Called when the main window is closed, to save the settings if they changed.
  void SetSaveOnClose(std::function<void()> save) { saveOnClose_ = std::move(save); }

  [[nodiscard]] LoopControl Dispatch(const platform::GuiEvent& event);

 private:
  LoopControl OnClose(int window);
  void OnMinimize(int window);
  void OnRestore(int window);
  void OnMove(int window);
  void OnTray(platform::TrayAction action);
  void OnShortcut(int window, Command command);
  void Refresh(int window);
  void Reset(int window);
  void Nudge(platform::Point step);
  void CopyPanel();
  void StepPanel(int delta);
  void ShowMiniWindow();
  void ShowMainWindowSettings();
  [[nodiscard]] int CurrentPanel() const;

  platform::Gui& gui_;
  Settings& settings_;
  TextSlots& texts_;
  platform::Environment& environment_;
  std::function<void()> saveOnClose_;
};

}  // namespace tarvik
