#include "app/second_instance.h"

#include "app/language.h"
#include "app/messages.h"
#include "core/version.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

constexpr int kNoticeWidth = 300;
constexpr int kNoticeHeight = 70;
constexpr int kNoticeTimer = 1;
constexpr int kNoticeMs = 5000;
constexpr int kSliceMs = 250;
constexpr int kAfterBroadcastMs = 50;
// The notice ends with its timer, however many other events (a drag, repaints) come first; this
// bound on the time only guards against a timer that never fires.
constexpr int64_t kLongestNoticeMs = 2 * kNoticeMs;

// The table is not loaded in a second copy, so the two lines are read from it directly.
std::wstring NoticeText(int userLangId) {
  const int language = LanguageFromLangId(userLangId);
  return L"\r\n" + TrFor(L"Program is already running.", language) + L"\r\n" +
         TrFor(L"Opening current program.", language);
}

bool OpenNotice(platform::Gui& gui, int userLangId) {
  const platform::Size desktop = gui.DesktopSize();
  platform::WindowSpec layout;
  layout.Bounds = {(desktop.Width - kNoticeWidth) / 2, (desktop.Height - kNoticeHeight) / 2,
                   kNoticeWidth, kNoticeHeight};
  layout.Title = kProgramTitle;
  layout.Frame = platform::WindowFrame::Notice;
  if (!gui.OpenWindow(gadget::NoticeWindow, layout))
    return false;
  gui.CreateText(gadget::NoticeText, {gadget::NoticeWindow}, {5, 5, 290, 50},
                 NoticeText(userLangId));
  gui.SetGadgetFont(gadget::NoticeText, gui.LoadFont(L"Arial", 9, platform::FontStyle::Normal));
  gui.StartTimer(gadget::NoticeWindow, kNoticeTimer, kNoticeMs);
  return true;
}

void WaitForNoticeTimer(platform::Gui& gui, const platform::Clock& clock) {
  const int64_t started = clock.TickMs();
  while (clock.TickMs() - started < kLongestNoticeMs) {
    const platform::GuiEvent event = gui.WaitEvent(kSliceMs);
    if (event.Window != gadget::NoticeWindow)
      continue;
    if (event.Kind == platform::EventKind::Timer || event.Kind == platform::EventKind::Close)
      return;
  }
}

}  // namespace

void RunSecondInstance(platform::Gui& gui, const platform::Clock& clock, int userLangId) {
  const bool noticeShown = OpenNotice(gui, userLangId);
  gui.BroadcastMessage(gui.RegisterMessage(kActivateMessageName));
  if (!noticeShown)
    return;
  clock.SleepMs(kAfterBroadcastMs);
  WaitForNoticeTimer(gui, clock);
  gui.CloseWindow(gadget::NoticeWindow);
}

}  // namespace tarvik
