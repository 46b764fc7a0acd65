#include "app/window_update_applier.h"

namespace tarvik {

WindowUpdateApplier::WindowUpdateApplier(platform::Gui& gui, TrayIcon& tray,
                                         WindowUpdateQueue& queue)
    : gui_(gui), tray_(tray), queue_(queue) {}

void WindowUpdateApplier::OnRefresh(int gadget, std::function<void()> refresh) {
  refreshers_[gadget] = std::move(refresh);
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
