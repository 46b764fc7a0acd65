#include "ui/mini_window.h"

#include "core/version.h"
#include "core/window_placement.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

platform::WindowSpec MiniWindowSpec(const Settings& settings, platform::Point position) {
  platform::WindowSpec layout;
  layout.Bounds = {position.X, position.Y, settings.Get(opt::MiniWidth),
                   settings.Get(opt::MiniHeight)};
  layout.Title = kProgramTitle;
  layout.Frame = settings.IsOn(opt::BorderlessWindow) ? platform::WindowFrame::Borderless
                                                      : platform::WindowFrame::Caption;
  layout.Layered = true;
  return layout;
}

}  // namespace

void OpenProgressWindow(platform::Gui& gui, const Settings& settings, const Fonts& fonts) {
  const platform::WindowSpec layout =
      MiniWindowSpec(settings, ProgressWindowPosition(gui.DesktopSize()));
  if (!gui.OpenWindow(gadget::MiniWindow, layout))
    return;
  gui.CreateText(gadget::ProgressText, {gadget::MiniWindow},
                 {0, 0, layout.Bounds.Width, layout.Bounds.Height}, L"");
  gui.SetGadgetFont(gadget::ProgressText, fonts.Console8);
}

void AddProgressLine(platform::Gui& gui, const std::wstring& line) {
  gui.SetGadgetText(gadget::ProgressText, gui.GadgetText(gadget::ProgressText) + line);
}

void OpenMiniWindow(platform::Gui& gui, Settings& settings, const Fonts& fonts, bool visible) {
  gui.CloseWindow(gadget::MiniWindow);
  const platform::Point position =
      MiniWindowStartPosition({settings.Get(opt::MiniX), settings.Get(opt::MiniY)},
                              settings.Get(opt::MiniHeight), gui.DesktopSize());
  settings.Set(opt::MiniX, position.X);
  settings.Set(opt::MiniY, position.Y);
  platform::WindowSpec layout = MiniWindowSpec(settings, position);
  layout.Visible = visible;
  if (!gui.OpenWindow(gadget::MiniWindow, layout))
    return;
  gui.SetDefaultFont(fonts.Console10);
  gui.CreateCanvas(gadget::MiniCanvas, {gadget::MiniWindow},
                   {0, 0, layout.Bounds.Width, layout.Bounds.Height});
  ApplyMiniWindowStyle(gui, settings);
}

int MiniWindowAlpha(const Settings& settings) {
  if (!settings.IsOn(opt::TransparentWindow))
    return 255;
  return settings.Get(opt::TransparencyStep) * 10 * 255 / 100;
}

void ApplyMiniWindowStyle(platform::Gui& gui, const Settings& settings) {
  gui.SetWindowAlpha(gadget::MiniWindow, MiniWindowAlpha(settings));
  gui.SetAlwaysOnTop(gadget::MiniWindow, settings.IsOn(opt::AlwaysOnTop));
}

}  // namespace tarvik
