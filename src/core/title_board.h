#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>

namespace tarvik {

// The mini window's title summaries, one per title-bar mode (0 drives, 1 physical memory, 2 page
// file, 3 processor, 4 battery, 5 uptime, 6 idle, 7 drive read/write, 8 network). Each monitor
// publishes the summaries of its own modes whatever mode is chosen, so a newly chosen mode shows
// its text at once; one owner on the window thread shows the chosen one. Any thread may publish.
class TitleBoard {
 public:
  static constexpr int kModes = 9;

  // `changed` runs on the publishing thread when a mode's text changed (outside the board's
  // lock): it may only hand a note to the window thread.
  void OnChanged(std::function<void()> changed);

  // Stores the summary of one mode; a mode outside 0–8 is ignored.
  void Publish(int mode, std::wstring summary);
  // The latest summary of a mode; empty when nothing was published or the mode is unknown.
  [[nodiscard]] std::wstring Summary(int mode) const;

 private:
  mutable std::mutex mutex_;
  std::array<std::wstring, kModes> summaries_;
  std::function<void()> changed_;
};

}  // namespace tarvik
