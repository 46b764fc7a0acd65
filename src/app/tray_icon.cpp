#include "app/tray_icon.h"

#include "core/version.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kTeal = Rgb(0, 128, 128);
constexpr Colour kCyan = Rgb(0, 255, 255);
constexpr Colour kDarkRed = Rgb(128, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);

constexpr platform::Size kTrayImageSize{16, 16};

void DrawFrame(platform::Canvas& canvas, bool blackInside) {
  canvas.FillBox({0, 0, 16, 16}, kWhite);
  if (blackInside)
    canvas.FillBox({1, 1, 14, 14}, kBlack);
}

void DrawReadHalf(platform::Canvas& canvas) {
  canvas.FillBox({8, 1, 7, 14}, kTeal);
  canvas.FillBox({9, 2, 5, 12}, kCyan);
}

void DrawWriteHalf(platform::Canvas& canvas) {
  canvas.FillBox({1, 1, 7, 14}, kDarkRed);
  canvas.FillBox({2, 2, 5, 12}, kRed);
}

}  // namespace

void DrawTrayImage(int image, platform::Canvas& canvas) {
  switch (image) {
    case gadget::TrayReadImage:
      DrawFrame(canvas, true);
      DrawReadHalf(canvas);
      break;
    case gadget::TrayWriteImage:
      DrawFrame(canvas, true);
      DrawWriteHalf(canvas);
      break;
    case gadget::TrayReadWriteImage:
      DrawFrame(canvas, false);
      DrawWriteHalf(canvas);
      DrawReadHalf(canvas);
      break;
    default:
      DrawFrame(canvas, true);
      break;
  }
}

TrayIcon::TrayIcon(platform::Gui& gui, const Settings& settings)
    : gui_(gui), settings_(settings), image_(gadget::TrayIdleImage), tip_(kProgramTitle) {}

void TrayIcon::BuildImages() {
  for (const int image : {gadget::TrayIdleImage, gadget::TrayReadImage, gadget::TrayWriteImage,
                          gadget::TrayReadWriteImage}) {
    gui_.CreateImage(image, kTrayImageSize,
                     [image](platform::Canvas& canvas) { DrawTrayImage(image, canvas); });
  }
}

void TrayIcon::ShowIfEnabled() {
  if (shown_ || !settings_.IsOn(opt::TrayIconEnabled))
    return;
  shown_ = gui_.AddTrayIcon(gadget::MiniWindow, image_, tip_);
}

void TrayIcon::SetImage(int image) {
  if (image == image_)
    return;
  image_ = image;
  if (shown_)
    gui_.SetTrayImage(image);
}

void TrayIcon::SetTip(const std::wstring& tip) {
  if (tip == tip_)
    return;
  tip_ = tip;
  if (shown_)
    gui_.SetTrayTip(tip);
}

void TrayIcon::Remove() {
  if (!shown_)
    return;
  gui_.RemoveTrayIcon();
  shown_ = false;
}

// A window hidden to the tray would be out of reach without the icon: it comes back instead.
void TrayIcon::OnTaskbarCreated() {
  shown_ = false;
  ShowIfEnabled();
  if (!shown_ && !gui_.IsWindowVisible(gadget::MiniWindow))
    gui_.ShowWindow(gadget::MiniWindow, platform::ShowMode::Normal);
}

}  // namespace tarvik
