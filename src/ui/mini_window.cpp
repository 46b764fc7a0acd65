#include "ui/mini_window.h"

#include "core/version.h"
#include "ui/gadget_ids.h"
#include "ui/window_placement.h"

namespace tarvik {
namespace {

constexpr Colour kMiniBackground = 0xFFFFFF;

// One cell: its back colour, then its label and text cut to its width.
void DrawCell(platform::Canvas& canvas, MeterRecord& meter, const CellMetrics& metrics) {
  canvas.FillBox(CellBox(meter, metrics), meter.BackColour);
  const std::wstring shown = (meter.Label + meter.Text).substr(0, static_cast<size_t>(meter.Width));
  canvas.Text({meter.X, meter.Y}, shown, meter.TextColour, meter.BackColour);
  meter.PreviousText = meter.Text;
}

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

CellMetrics MeasureCells(platform::Gui& gui, const Fonts& fonts) {
  // A column is the average width of 54 spaces; a row is the line height less 2.
  constexpr int kSampleLength = 54;
  CellMetrics metrics;
  gui.DrawCanvas(gadget::MiniCanvas, [&](platform::Canvas& canvas) {
    canvas.SetFont(fonts.Console10);
    const platform::Size sample = canvas.TextSize(std::wstring(kSampleLength, L' '));
    if (sample.Width >= kSampleLength && sample.Height > 2)
      metrics = {sample.Width / kSampleLength, sample.Height - 2};
  });
  return metrics;
}

void RedrawAllCells(platform::Gui& gui, MeterTable& meters, const CellMetrics& metrics,
                    const Fonts& fonts) {
  auto table = meters.Lock();
  gui.DrawCanvas(gadget::MiniCanvas, [&](platform::Canvas& canvas) {
    const platform::Size extent = canvas.Extent();
    canvas.FillBox({0, 0, extent.Width, extent.Height}, kMiniBackground);
    canvas.SetFont(fonts.Console10);
    for (MeterRecord& meter : *table) {
      if (meter.Active && meter.Width > 0)
        DrawCell(canvas, meter, metrics);
    }
  });
}

void MeterChanged(platform::Gui& gui, MeterTable& meters, const CellMetrics& metrics,
                  const Fonts& fonts, int meter, bool force) {
  auto table = meters.Lock();
  MeterRecord& record = (*table)[static_cast<size_t>(meter)];
  if (!record.Active || record.Width <= 0 || (!force && record.Text == record.PreviousText))
    return;
  gui.DrawCanvas(gadget::MiniCanvas, [&](platform::Canvas& canvas) {
    canvas.SetFont(fonts.Console10);
    DrawCell(canvas, record, metrics);
  });
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
