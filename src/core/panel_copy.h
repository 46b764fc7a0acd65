#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "core/monitor_threads.h"
#include "core/settings.h"
#include "core/stop_signal.h"
#include "core/window_updates.h"
#include "platform/clipboard.h"

namespace tarvik {

// The one way a panel goes to the clipboard, whichever thread serves the copy request: the
// request for the panel is taken (set back to -1 in the same step, so a Ctrl+C pressed while the
// copy runs is kept for the next pass), the text is built under the copy lock while a helper
// thread tells the progress in the main window's title ("Saving to Clipboard: 120"), then put on
// the clipboard ("Saved to Clipboard: 120 Lines", or the failure).
class PanelCopy {
 public:
  // The words of the progress messages, in the user's language.
  struct Words {
    std::wstring Saving;  // "Saving to Clipboard"
    std::wstring Saved;   // "Saved to Clipboard"
    std::wstring Lines;   // "Lines"
    std::wstring Failed;  // "Failed"
  };

  // Builds the panel's text; it may count the lines it has added so far for the progress.
  using Builder = std::function<std::wstring(std::atomic<int>& linesSoFar)>;

  PanelCopy(Settings& settings, StopSignal& stop, MonitorThreads& threads,
            WindowUpdateQueue& updates, platform::Clipboard& clipboard, Words words);

  // Serves the copy request when it asks for `panel`; returns once the text is on the clipboard
  // (or could not be put there). False when the request asked for another panel or none.
  bool Serve(int panel, const Builder& build);

  static constexpr int kProgressMs = 250;
  static constexpr int kNoCopy = -1;

 private:
  void ShowProgress();

  Settings& settings_;
  StopSignal& stop_;
  MonitorThreads& threads_;
  WindowUpdateQueue& updates_;
  platform::Clipboard& clipboard_;
  Words words_;
  std::mutex copyLock_;
  std::atomic<int> lines_{0};
  std::atomic<bool> copying_{false};
  std::atomic<bool> failed_{false};
};

// How a monitor asks for its tab's copy: the panel it serves and the builder of its text; true
// when the request was for that panel.
using PanelCopyServer = std::function<bool(int panel, const PanelCopy::Builder& build)>;

// The lines of a copy: its CR LF pairs.
[[nodiscard]] int CountCopiedLines(const std::wstring& text);

}  // namespace tarvik
