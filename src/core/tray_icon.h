#pragma once

#include "core/settings.h"
#include "platform/canvas.h"
#include "platform/gui.h"

namespace tarvik {

// Draws one of the four 16x16 tray images (idle, reading, writing, reading and writing).
void DrawTrayImage(int image, platform::Canvas& canvas);

// The notification-area icon, attached to the mini window. It comes back when Explorer restarts.
class TrayIcon {
 public:
  TrayIcon(platform::Gui& gui, const Settings& settings) : gui_(gui), settings_(settings) {}

  void BuildImages();
  // Adds the icon when the option asks for it.
  void ShowIfEnabled();
  void Remove();
  // Explorer (re)started and knows no icons: add ours when the option asks for it.
  void OnTaskbarCreated();
  [[nodiscard]] bool IsShown() const { return shown_; }

 private:
  platform::Gui& gui_;
  const Settings& settings_;
  bool shown_ = false;
};

}  // namespace tarvik
