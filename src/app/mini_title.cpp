#include "app/mini_title.h"

#include "core/version.h"
#include "ui/gadget_ids.h"

namespace tarvik {

void MiniTitle::Show() {
  std::wstring title = board_.Summary(settings_.Get(opt::TitleBarMode));
  if (title.empty())
    title = kProgramTitle;
  if (title != gui_.WindowTitle(gadget::MiniWindow))
    gui_.SetWindowTitle(gadget::MiniWindow, title);
}

}  // namespace tarvik
