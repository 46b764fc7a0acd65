#include "core/second_instance.h"

#include "core/language.h"
#include "core/messages.h"
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
// The notice ends with its timer; this bound only guards against a timer that never fires.
constexpr int kMaxSlices = 2 * kNoticeMs / kSliceMs;

// The table is not loaded in a second copy, so the two lines are read from it directly.
std::wstring NoticeText(int userLangId) {
  const int language = LanguageFromLangId(userLangId);
  return L"\r\n" + TrFor(L"Program is already running.", language) + L"\r\n" +
         TrFor(L"Opening current program.", language);
}

}  // namespace

void RunSecondInstance(platform::Gui& gui, int userLangId) {
  const platform::Size desktop = gui.DesktopSize();
  platform::WindowSpec layout;
  layout.Bounds = {(desktop.Width - kNoticeWidth) / 2, (desktop.Height - kNoticeHeight) / 2,
                   kNoticeWidth, kNoticeHeight};
  layout.Title = kProgramTitle;
  layout.Frame = platform::WindowFrame::Notice;
  if (!gui.OpenWindow(gadget::NoticeWindow, layout))
    return;

  gui.CreateText(gadget::NoticeText, {gadget::NoticeWindow}, {5, 5, 290, 50},
                 NoticeText(userLangId));
  gui.SetGadgetFont(gadget::NoticeText, gui.LoadFont(L"Arial", 9, platform::FontStyle::Normal));
  gui.StartTimer(gadget::NoticeWindow, kNoticeTimer, kNoticeMs);
  gui.BroadcastMessage(gui.RegisterMessage(kActivateMessageName));

  for (int slice = 0; slice < kMaxSlices; ++slice) {
    const platform::GuiEvent event = gui.WaitEvent(kSliceMs);
    if (event.Window != gadget::NoticeWindow)
      continue;
    if (event.Kind == platform::EventKind::Timer || event.Kind == platform::EventKind::Close)
      break;
  }
  gui.CloseWindow(gadget::NoticeWindow);
}

}  // namespace tarvik
