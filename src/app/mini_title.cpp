#include "app/mini_title.h"

#include "core/version.h"
#include "ui/gadget_ids.h"

namespace tarvik {

void MiniTitle::Show() {
  const std::wstring summary = board_.Summary(settings_.Get(opt::TitleBarMode));
  const std::wstring title = summary.empty() ? std::wstring(kProgramTitle) : summary;
  if (title != gui_.WindowTitle(gadget::MiniWindow))
    gui_.SetWindowTitle(gadget::MiniWindow, title);
  tray_.SetTip(summary.empty() ? title : L"Tarvik " + summary);
}

}  // namespace tarvik
