#include "core/window_updates.h"

#include <algorithm>
#include <utility>

namespace tarvik {
namespace {

// The tray has one image and one tooltip, the main window one title message: their changes
// need no target of their own.
constexpr int kSingleTarget = 0;

}  // namespace

void WindowUpdateQueue::SetWake(std::function<bool()> wake) {
  std::lock_guard<std::mutex> lock(mutex_);
  wake_ = std::move(wake);
}

void WindowUpdateQueue::SetWindowTitle(int window, std::wstring title) {
  Put({UpdateKind::WindowTitle, window, std::move(title)});
}

void WindowUpdateQueue::ShowTitleMessage(std::wstring message) {
  Put({UpdateKind::TitleMessage, kSingleTarget, std::move(message)});
}

void WindowUpdateQueue::SetGadgetText(int gadget, std::wstring text) {
  Put({UpdateKind::GadgetText, gadget, std::move(text)});
}

void WindowUpdateQueue::SetTrayImage(int image) {
  Put({UpdateKind::TrayImage, kSingleTarget, {}, image});
}

void WindowUpdateQueue::SetTrayTip(std::wstring tip) {
  Put({UpdateKind::TrayTip, kSingleTarget, std::move(tip)});
}

void WindowUpdateQueue::Refresh(int gadget) {
  Put({UpdateKind::Refresh, gadget, {}});
}

void WindowUpdateQueue::Put(WindowUpdate update) {
  std::function<bool()> wake;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto same = std::find_if(pending_.begin(), pending_.end(), [&](const WindowUpdate& o) {
      return o.Kind == update.Kind && o.Target == update.Target;
    });
    if (pending_.empty() || wakeOwed_) {
      wake = wake_;
      wakeOwed_ = false;
    }
    if (same != pending_.end())
      *same = std::move(update);
    else
      pending_.push_back(std::move(update));
  }
  if (wake && !wake())
    OweWake();
}

void WindowUpdateQueue::OweWake() {
  std::lock_guard<std::mutex> lock(mutex_);
  // Taken meanwhile: whoever takes next sees the change anyway.
  wakeOwed_ = !pending_.empty();
}

std::vector<WindowUpdate> WindowUpdateQueue::TakeAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  wakeOwed_ = false;
  return std::exchange(pending_, {});
}

}  // namespace tarvik
