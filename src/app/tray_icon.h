#pragma once

#include <string>

#include "core/settings.h"
#include "platform/canvas.h"
#include "platform/gui.h"

namespace tarvik {

// Draws one of the four 16x16 tray images (idle, reading, writing, reading and writing).
void DrawTrayImage(int image, platform::Canvas& canvas);

// The notification-area icon, attached to the mini window. It comes back when Explorer restarts.
class TrayIcon {
 public:
  TrayIcon(platform::Gui& gui, const Settings& settings);

  void BuildImages();
  // Adds the icon when the option asks for it.
  void ShowIfEnabled();
  void Remove();
  // The image and tooltip shown; remembered while no icon is shown, so an icon added later
  // (the option switched on, Explorer restarted) shows the current ones.
  void SetImage(int image);
  void SetTip(const std::wstring& tip);
  // Explorer (re)started and knows no icons: add ours when the option asks for it. Without an
  // icon, a hidden mini window is shown.
  void OnTaskbarCreated();
  [[nodiscard]] bool IsShown() const { return shown_; }

 private:
  platform::Gui& gui_;
  const Settings& settings_;
  bool shown_ = false;
  int image_;
  std::wstring tip_;
};

}  // namespace tarvik
