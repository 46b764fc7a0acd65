#include "core/title_board.h"

#include <utility>

namespace tarvik {

void TitleBoard::OnChanged(std::function<void()> changed) {
  std::lock_guard<std::mutex> lock(mutex_);
  changed_ = std::move(changed);
}

void TitleBoard::Publish(int mode, std::wstring summary) {
  if (mode < 0 || mode >= kModes)
    return;
  std::function<void()> changed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::wstring& kept = summaries_[static_cast<size_t>(mode)];
    if (kept == summary)
      return;
    kept = std::move(summary);
    changed = changed_;
  }
  if (changed)
    changed();
}

std::wstring TitleBoard::Summary(int mode) const {
  if (mode < 0 || mode >= kModes)
    return {};
  std::lock_guard<std::mutex> lock(mutex_);
  return summaries_[static_cast<size_t>(mode)];
}

}  // namespace tarvik
