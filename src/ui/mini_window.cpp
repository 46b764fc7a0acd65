#include "ui/mini_window.h"

#include "core/version.h"
#include "ui/gadget_ids.h"
#include "ui/window_placement.h"

namespace tarvik {
namespace {

constexpr Colour kMiniBackground = 0xFFFFFF;

// One cell: its back colour, then its label and text cut to its width. A line of text is a little
// taller than a row, so a cell on the bottom row is coloured down to the canvas's edge.
void DrawCell(platform::Canvas& canvas, MeterRecord& meter, const CellMetrics& metrics,
              int bottomRow) {
  platform::Rect box = CellBox(meter, metrics);
  if (meter.Row == bottomRow)
    box.Height += kRowOverlap;
  canvas.FillBox(box, meter.BackColour);
  const std::wstring shown = (meter.Label + meter.Text).substr(0, static_cast<size_t>(meter.Width));
  canvas.Text({meter.X, meter.Y}, shown, meter.TextColour, meter.BackColour);
  meter.PreviousText = meter.Text;
}

// A column is the average width of 54 spaces; a row is the line height less the overlap.
CellMetrics MeasureCells(platform::Gui& gui, platform::FontId font) {
  constexpr int kSampleLength = 54;
  CellMetrics metrics;
  gui.DrawCanvas(gadget::MiniCanvas, [&](platform::Canvas& canvas) {
    canvas.SetFont(font);
    const platform::Size sample = canvas.TextSize(std::wstring(kSampleLength, L' '));
    if (sample.Width >= kSampleLength && sample.Height > kRowOverlap)
      metrics = {sample.Width / kSampleLength, sample.Height - kRowOverlap};
  });
  return metrics;
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

MiniWindow::MiniWindow(platform::Gui& gui, Settings& settings, MeterTable& meters,
                       const Fonts& fonts, WindowUpdateQueue& updates)
    : gui_(gui), settings_(settings), meters_(meters), fonts_(fonts), updates_(updates) {}

void MiniWindow::Build() {
  metrics_ = MeasureCells(gui_, fonts_.Console10);
  compact_ = settings_.IsOn(opt::BorderlessWindow);
  {
    auto table = meters_.Lock();
    BuildBuiltInCells(*table, metrics_, compact_);
    LabelDriveCells(*table);
  }
  RedrawAll();
}

void MiniWindow::RedrawAll() {
  auto table = meters_.Lock();
  FitTo(*table);
  gui_.DrawCanvas(gadget::MiniCanvas, [&](platform::Canvas& canvas) {
    const platform::Size extent = canvas.Extent();
    canvas.FillBox({0, 0, extent.Width, extent.Height}, kMiniBackground);
    canvas.SetFont(fonts_.Console10);
    for (MeterRecord& meter : *table) {
      if (meter.Active && meter.Width > 0)
        DrawCell(canvas, meter, metrics_, rows_);
    }
  });
}

// The samplers draw cells with the metrics under the meter table's lock, so they change under it.
void MiniWindow::Rescale() {
  const CellMetrics measured = MeasureCells(gui_, fonts_.Console10);
  {
    auto table = meters_.Lock();
    metrics_ = measured;
    PlaceCells(*table, metrics_);
  }
  fitted_.reset();
  RedrawAll();
}

void MiniWindow::SetCompact(bool compact) {
  compact_ = compact;
  ApplyCompactCells(*meters_.Lock(), metrics_, compact);
  RedrawAll();
}

void MiniWindow::MeterChanged(int meter, bool force) {
  if (meter < 0 || meter >= kMeterCount)
    return;
  auto table = meters_.Lock();
  if (AwaitsPlace(*table, meter)) {
    updates_.Refresh(gadget::MiniWindow);
    return;
  }
  MeterRecord& record = (*table)[static_cast<size_t>(meter)];
  if (!record.Active || record.Width <= 0 || (!force && record.Text == record.PreviousText))
    return;
  gui_.DrawCanvas(gadget::MiniCanvas, [&](platform::Canvas& canvas) {
    canvas.SetFont(fonts_.Console10);
    DrawCell(canvas, record, metrics_, rows_);
  });
}

// The window is resized only when its rows or its compact mode changed; only a new size can
// carry it past the edge of the work area, so only then is its place checked.
void MiniWindow::FitTo(Meters& meters) {
  rows_ = LayOutFurtherCells(meters, metrics_);
  const platform::Size size = CellCanvasSize(rows_, metrics_);
  if (fitted_ == std::pair{size, compact_} || !gui_.WindowExists(gadget::MiniWindow))
    return;
  fitted_ = {size, compact_};
  gui_.FitWindowToCanvas(gadget::MiniWindow, gadget::MiniCanvas, size);
  PlaceInsideWorkArea();
}

void MiniWindow::PlaceInsideWorkArea() {
  const platform::Rect bounds = gui_.WindowBounds(gadget::MiniWindow);
  const platform::Point place = KeepInWorkArea(bounds, gui_.WorkAreaOf(gadget::MiniWindow));
  if (place == platform::Point{bounds.X, bounds.Y})
    return;
  gui_.MoveWindow(gadget::MiniWindow, place);
  settings_.Set(opt::MiniX, place.X);
  settings_.Set(opt::MiniY, place.Y);
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
