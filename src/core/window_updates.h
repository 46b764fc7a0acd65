#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tarvik {

enum class UpdateKind { WindowTitle, TitleMessage, GadgetText, TrayImage, TrayTip, Refresh };

// One change a worker wants on screen: `Target` names the window or gadget (the tray has one),
// `Text` is the new title, text or tooltip, `Image` the new tray image.
struct WindowUpdate {
  UpdateKind Kind = UpdateKind::Refresh;
  int Target = 0;
  std::wstring Text;
  int Image = 0;

  bool operator==(const WindowUpdate&) const = default;
};

// The one way a worker changes what the windows show: it states the change here and the window
// thread applies it. Workers never call into a window themselves, so none can be caught waiting
// for the window thread while shut-down waits for the workers. Each target holds only its latest
// change, so a busy worker cannot flood the window thread; the first change after the queue was
// emptied wakes the window thread once.
class WindowUpdateQueue {
 public:
  // `wake` runs on the thread that queues a change, so it must only post a note to the window
  // thread; it returns false when the note could not be posted, and the next change tries again
  // (the window thread also applies what is pending on a timer). Set it before any worker starts.
  void SetWake(std::function<bool()> wake);

  void SetWindowTitle(int window, std::wstring title);
  // A message shown for a while as the main window's title, which then returns.
  void ShowTitleMessage(std::wstring message);
  void SetGadgetText(int gadget, std::wstring text);
  void SetTrayImage(int image);
  void SetTrayTip(std::wstring tip);
  // A list or panel to refresh from its model.
  void Refresh(int gadget);

  // The window thread takes every pending change, in the order their targets were first queued.
  [[nodiscard]] std::vector<WindowUpdate> TakeAll();

 private:
  void Put(WindowUpdate update);
  void OweWake();

  std::mutex mutex_;
  std::vector<WindowUpdate> pending_;
  std::function<bool()> wake_;
  bool wakeOwed_ = false;  // a change is pending that no posted note announced
};

}  // namespace tarvik
