#include "app/window_callback.h"

#include "core/version.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {

using platform::ShowMode;
using platform::SystemMessageKind;

std::wstring LettersFromUnitMask(uint32_t unitMask) {
  std::wstring letters;
  for (int bit = 0; bit < 26; ++bit) {
    if (unitMask & (1u << bit))
      letters += static_cast<wchar_t>(L'A' + bit);
  }
  return letters;
}

WindowCallback::WindowCallback(platform::Gui& gui, Settings& settings, TextSlots& texts,
                               StopSignal& stop, TrayIcon& tray, RegisteredMessages messages)
    : gui_(gui),
      settings_(settings),
      texts_(texts),
      stop_(stop),
      tray_(tray),
      messages_(messages) {}

bool WindowCallback::OnSystemMessage(const platform::SystemMessage& message) {
  // While stopping, the program acts on nothing more; the windows keep their default handling.
  if (stop_.Raised())
    return true;
  switch (message.Kind) {
    case SystemMessageKind::QueryEndSession:
    case SystemMessageKind::EndSession:
      OnSessionEnd();
      return true;
    case SystemMessageKind::Registered:
      return OnRegistered(message.RegisteredId);
    case SystemMessageKind::VolumeArrival:
      OnVolumeArrival(LettersFromUnitMask(message.UnitMask));
      return false;
    case SystemMessageKind::VolumeRemoval:
      OnVolumeRemoval(LettersFromUnitMask(message.UnitMask));
      return false;
  }
  return false;
}

void WindowCallback::OnSessionEnd() {
  sessionEnded_ = true;
  RequestQuit();
  gui_.ShowWindow(gadget::MiniWindow, ShowMode::Show);
  gui_.BlockShutdown(gadget::MiniWindow,
                     Tr(L"Shutting Down") + L" Tarvik v" + std::wstring(kShortVersion));
}

bool WindowCallback::OnRegistered(uint32_t id) {
  if (id == messages_.Activate) {
    gui_.ShowWindow(gadget::MiniWindow,
                    gui_.IsWindowMinimized(gadget::MiniWindow) ? ShowMode::Normal : ShowMode::Show);
    return true;
  }
  if (id == messages_.Deactivate) {
    if (starting_) {
      quitPending_ = true;
    } else {
      RequestQuit();
    }
    return true;
  }
  if (id == messages_.TaskbarCreated)
    tray_.OnTaskbarCreated();
  return false;
}

void WindowCallback::EndStartUp() {
  starting_ = false;
  if (quitPending_)
    RequestQuit();
}

void WindowCallback::RequestQuit() {
  settings_.Set(opt::QuitFlag, 1);
  stop_.Raise();
}

void WindowCallback::PopUpIfMinimized() {
  if (settings_.IsOn(opt::PopUpOnDriveEvents) && gui_.IsWindowMinimized(gadget::MiniWindow)) {
    gui_.ShowWindow(gadget::MiniWindow, ShowMode::Normal);
  }
}

void WindowCallback::OnVolumeArrival(const std::wstring& letters) {
  if (letters.empty())
    return;
  PopUpIfMinimized();
  texts_.Update(slot::PendingDrives, [&](std::wstring& pending) { pending += letters; });
  settings_.Request(opt::DriveChangeRequest);
}

void WindowCallback::OnVolumeRemoval(const std::wstring& letters) {
  if (letters.empty())
    return;
  PopUpIfMinimized();
  texts_.Update(slot::PendingDrives, [&](std::wstring& pending) {
    std::erase_if(pending,
                  [&](wchar_t letter) { return letters.find(letter) != std::wstring::npos; });
  });
  // A card taken out of a reader leaves its letter: the monitor looks at the drives, not only at
  // the letters.
  if (storageRunning_ && storageRunning_())
    settings_.Request(opt::DriveChangeRequest);
}

}  // namespace tarvik
