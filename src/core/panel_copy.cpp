#include "core/panel_copy.h"

namespace tarvik {

PanelCopy::PanelCopy(Settings& settings, StopSignal& stop, MonitorThreads& threads,
                     WindowUpdateQueue& updates, platform::Clipboard& clipboard, Words words)
    : settings_(settings),
      stop_(stop),
      threads_(threads),
      updates_(updates),
      clipboard_(clipboard),
      words_(std::move(words)) {}

int CountCopiedLines(const std::wstring& text) {
  int lines = 0;
  for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2))
    ++lines;
  return lines;
}

bool PanelCopy::Serve(int panel, const Builder& build) {
  if (!settings_.TakeIfEquals(opt::CopyRequest, panel, kNoCopy))
    return false;
  std::lock_guard<std::mutex> lock(copyLock_);
  lines_ = 0;
  failed_ = false;
  copying_ = true;
  updates_.ShowTitleMessage(words_.Saving);
  // Refused while the program stops or too many helpers run: the copy goes on without progress.
  static_cast<void>(threads_.StartTask(L"clipboard progress", [this] { ShowProgress(); }));
  const std::wstring text = build(lines_);
  lines_ = CountCopiedLines(text);
  failed_ = !clipboard_.SetText(text);
  copying_ = false;
  return true;
}

// The helper of one copy: while the copy runs it shows the lines so far, four times a second;
// then how it ended.
void PanelCopy::ShowProgress() {
  while (copying_.load() && !stop_.Raised()) {
    if (lines_.load() >= 1)
      updates_.ShowTitleMessage(words_.Saving + L": " + std::to_wstring(lines_));
    if (stop_.WaitFor(kProgressMs))
      return;
  }
  if (failed_.load()) {
    updates_.ShowTitleMessage(words_.Saving + L": " + words_.Failed);
    return;
  }
  updates_.ShowTitleMessage(words_.Saved + L": " + std::to_wstring(lines_) + L" " + words_.Lines);
}

}  // namespace tarvik
