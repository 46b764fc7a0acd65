#include "ui/main_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/version.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

constexpr const wchar_t* kTabNames[gadget::kPanelCount] = {
    L"System", L"Processors", L"Graphics", L"Storage", L"Networks", L"Ping", L"Settings", L"About"};

std::vector<std::wstring> TabCaptions() {
  std::vector<std::wstring> captions;
  for (int tab = 0; tab < gadget::kPanelCount; ++tab) {
    const std::wstring pad = tab == gadget::PingPanel ? L"  " : L" ";
    captions.push_back(pad + Tr(kTabNames[tab]) + pad);
  }
  return captions;
}

void BuildAboutTab(platform::Gui& gui, const Fonts& fonts) {
  const platform::GadgetParent about{gadget::MainWindow, gadget::MainPanel, gadget::AboutPanel};
  gui.CreateText(gadget::AboutTitleText, about, {15, 20, 854, 30}, kProgramTitle);
  gui.SetGadgetFont(gadget::AboutTitleText, fonts.Tahoma12Bold);
  gui.CreateText(gadget::AboutMakerText, about, {15, 60, 854, 20}, L"\u00A9 Brimhold");
  gui.SetGadgetFont(gadget::AboutMakerText, fonts.Tahoma10);
  gui.CreateCanvas(gadget::FileStatusCanvas, about, {15, 449, 854, 71});
}

}  // namespace

void BuildMainWindow(platform::Gui& gui, const Fonts& fonts, bool visible) {
  const platform::Size desktop = gui.DesktopSize();
  platform::WindowSpec layout;
  layout.Bounds = {std::max(0, (desktop.Width - kMainWindowSize.Width) / 2),
                   std::max(0, (desktop.Height - kMainWindowSize.Height) / 2),
                   kMainWindowSize.Width, kMainWindowSize.Height};
  layout.Title = kProgramTitle;
  layout.Visible = visible;
  if (!gui.OpenWindow(gadget::MainWindow, layout))
    return;
  gui.CreatePanel(gadget::MainPanel, {gadget::MainWindow}, {2, 2, 890, kMainWindowSize.Height - 4},
                  TabCaptions());
  BuildAboutTab(gui, fonts);
}

}  // namespace tarvik
