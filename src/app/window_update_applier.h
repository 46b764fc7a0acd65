#pragma once

#include <functional>
#include <map>

#include "app/tray_icon.h"
#include "core/window_updates.h"
#include "platform/gui.h"

namespace tarvik {

// The window thread's side of the window-update queue: it applies what workers queued.
class WindowUpdateApplier {
 public:
  WindowUpdateApplier(platform::Gui& gui, TrayIcon& tray, WindowUpdateQueue& queue);

  // Registers how a list or panel refreshes itself from its model.
  void OnRefresh(int gadget, std::function<void()> refresh);
  // Applies every pending update; a refresh of a gadget nobody registered changes nothing.
  void ApplyPending();
  // A title message's time ran out: the main window's own title returns. False for other timers.
  bool OnTimer(int window, int timer);

  static constexpr int kTitleMessageTimer = 2;
  static constexpr int kTitleMessageMs = 10'000;

 private:
  void Apply(const WindowUpdate& update);
  void ShowTitleMessage(const std::wstring& message);

  platform::Gui& gui_;
  TrayIcon& tray_;
  WindowUpdateQueue& queue_;
  std::map<int, std::function<void()>> refreshers_;
};

}  // namespace tarvik
