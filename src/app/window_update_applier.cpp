#include "app/window_update_applier.h"

#include "core/version.h"
#include "ui/gadget_ids.h"

namespace tarvik {

WindowUpdateApplier::WindowUpdateApplier(platform::Gui& gui, TrayIcon& tray,
                                         WindowUpdateQueue& queue)
    : gui_(gui), tray_(tray), queue_(queue) {}

void WindowUpdateApplier::OnRefresh(int gadget, std::function<void()> refresh) {
  refreshers_[gadget] = std::move(refresh);
}

// An empty message, or one the title already shows, changes nothing; any other shows for
// kTitleMessageMs, counted again from the newest message.
void WindowUpdateApplier::ShowTitleMessage(const std::wstring& message) {
  if (message.empty() || message == gui_.WindowTitle(gadget::MainWindow))
    return;
  gui_.SetWindowTitle(gadget::MainWindow, message);
  gui_.StartTimer(gadget::MainWindow, kTitleMessageTimer, kTitleMessageMs);
}

bool WindowUpdateApplier::OnTimer(int window, int timer) {
  if (window != gadget::MainWindow || timer != kTitleMessageTimer)
    return false;
  gui_.StopTimer(gadget::MainWindow, kTitleMessageTimer);
  gui_.SetWindowTitle(gadget::MainWindow, kProgramTitle);
  return true;
}

void WindowUpdateApplier::ApplyPending() {
  for (const WindowUpdate& update : queue_.TakeAll())
    Apply(update);
}

void WindowUpdateApplier::Apply(const WindowUpdate& update) {
  switch (update.Kind) {
    case UpdateKind::WindowTitle:
      gui_.SetWindowTitle(update.Target, update.Text);
      break;
    case UpdateKind::TitleMessage:
      ShowTitleMessage(update.Text);
      break;
    case UpdateKind::GadgetText:
      gui_.SetGadgetText(update.Target, update.Text);
      break;
    case UpdateKind::TrayImage:
      tray_.SetImage(update.Image);
      break;
    case UpdateKind::TrayTip:
      tray_.SetTip(update.Text);
      break;
    case UpdateKind::Refresh:
      if (const auto found = refreshers_.find(update.Target); found != refreshers_.end())
        found->second();
      break;
  }
}

}  // namespace tarvik
