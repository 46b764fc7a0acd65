#include "ui/ping_tab.h"

#include "core/fixed_lists.h"
#include "core/settings_index.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

constexpr int kSecondsPerMinute = 60;
constexpr const wchar_t* kNoAddress = L"0.0.0.0";

std::wstring CountedUnit(int count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + Tr(count == 1 ? one : many);
}

}  // namespace

std::vector<std::wstring> PingIntervalItems() {
  std::vector<std::wstring> items;
  for (const int seconds : kPingIntervalChoices) {
    items.push_back(seconds < kSecondsPerMinute
                        ? CountedUnit(seconds, L"Second", L"Seconds")
                        : CountedUnit(seconds / kSecondsPerMinute, L"Minute", L"Minutes"));
  }
  return items;
}

std::vector<std::wstring> SlowResponseItems() {
  std::vector<std::wstring> items;
  for (int choice = 1; choice <= kSlowChoiceCount; ++choice)
    items.push_back(std::to_wstring(choice * kSlowStepMs) + L" " + Tr(L"ms"));
  return items;
}

void BuildPingTab(platform::Gui& gui, const Settings& settings) {
  const platform::GadgetParent tab{gadget::MainWindow, gadget::MainPanel, gadget::PingPanel};
  gui.CreateSelector(gadget::PingShowSelector, tab, {4, 2, 150, 22},
                     {Tr(L"Ping Host Name"), Tr(L"Ping IP Address")});
  gui.CreateButton(gadget::PingAddButton, tab, {158, 2, 80, 22}, Tr(L"Add"));
  gui.CreateButton(gadget::PingDeleteButton, tab, {242, 2, 80, 22}, Tr(L"Delete"));
  gui.CreateButton(gadget::PingResetButton, tab, {326, 2, 130, 22}, Tr(L"Reset Data"));
  gui.CreateSelector(gadget::SlowResponseSelector, tab, {460, 2, 100, 22}, SlowResponseItems());
  gui.SetTooltip(gadget::SlowResponseSelector, Tr(L"Slow Response Time (Yellow Bars)"));
  gui.SelectItem(gadget::SlowResponseSelector, settings.Get(opt::SlowResponseChoice));
  gui.CreateSelector(gadget::PingIntervalSelector, tab, {564, 2, 110, 22}, PingIntervalItems());
  gui.SetTooltip(gadget::PingIntervalSelector, Tr(L"Ping Intervals"));
  gui.SelectItem(gadget::PingIntervalSelector, settings.Get(opt::PingIntervalChoice));
  gui.CreateButton(gadget::PingNowButton, tab, {678, 2, 130, 22}, Tr(L"Click to Ping now"));
  gui.CreateTextField(gadget::PingHostEntry, tab, {4, 28, 300, 22}, L"", false);
  gui.CreateTextField(gadget::PingDescriptionEntry, tab, {308, 28, 450, 22}, L"", false);
  gui.CreateCanvas(gadget::PingHeaderCanvas, tab, {4, 54, 878, 18});
  gui.CreateCanvas(gadget::PingListCanvas, tab, {4, 74, 878, 455});
  ShowPingEntryMode(gui, settings.Get(opt::PingShowsAddresses) == 1);
}

void ShowPingEntryMode(platform::Gui& gui, bool addressMode) {
  gui.SetGadgetText(gadget::PingHostEntry, addressMode ? kNoAddress : L"");
  gui.SetGadgetText(gadget::PingDescriptionEntry, addressMode ? Tr(L"Description") : L"");
  gui.SetTextFieldReadOnly(gadget::PingDescriptionEntry, !addressMode);
  gui.EnableGadget(gadget::PingDescriptionEntry, addressMode);
}

}  // namespace tarvik
