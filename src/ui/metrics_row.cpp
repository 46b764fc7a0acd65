#include "ui/metrics_row.h"

#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

// The check box has a line of its own, the address and the state one each under its text: a
// German label and an address of the network's own length both need the group's whole width.
constexpr platform::Rect kGroup{4, 386, 412, 88};
constexpr int kPadding = 10;
constexpr int kRowHeight = 20;
constexpr int kRowStep = kRowHeight + 2;
constexpr int kUnderCheckBoxText = 18;

platform::GadgetParent SettingsPage() {
  return {gadget::MainWindow, gadget::MainPanel, gadget::SettingsPanel};
}

}  // namespace

std::wstring MetricsPageAddress(const MetricsEndpoint& endpoint) {
  return L"http://" + MetricsEndpointText(endpoint) + L"/metrics";
}

std::wstring MetricsStateText(MetricsState state, const MetricsEndpoint& endpoint) {
  switch (state) {
    case MetricsState::Off:
      return {};
    case MetricsState::Listening:
      return IsLoopback(endpoint) ? Tr(L"Listening")
                                  : Tr(L"Listening, the port is open to the network");
    case MetricsState::PortTaken:
      return Tr(L"Port already in use");
    case MetricsState::AddressUnavailable:
      return Tr(L"Address not on this computer");
    case MetricsState::AddressRefused:
      return Tr(L"Address in Tarvik.ini not understood");
    case MetricsState::Failed:
      break;
  }
  return Tr(L"Could not listen");
}

void BuildMetricsRow(platform::Gui& gui) {
  const int x = kGroup.X + kPadding;
  const int y = kGroup.Y + 18;
  const int width = kGroup.Width - 2 * kPadding;
  gui.CreateFrame(gadget::MetricsFrame, SettingsPage(), kGroup, Tr(L"Prometheus Metrics"));
  gui.CreateCheckBox(gadget::MetricsCheckBox, SettingsPage(), {x, y, width, kRowHeight},
                     Tr(L"Serve readings to Prometheus"));
  gui.SetTooltip(gadget::MetricsCheckBox,
                 Tr(L"Serves the readings over HTTP; Metrics in Tarvik.ini sets the address"));
  const platform::Rect text{x + kUnderCheckBoxText, y + kRowStep, width - kUnderCheckBoxText,
                            kRowHeight};
  gui.CreateText(gadget::MetricsAddressText, SettingsPage(), text, L"");
  gui.CreateText(gadget::MetricsStateText, SettingsPage(),
                 {text.X, text.Y + kRowStep, text.Width, text.Height}, L"");
}

void ShowMetricsRow(platform::Gui& gui, const Settings& options) {
  const MetricsEndpoint endpoint = MetricsEndpointOf(options);
  gui.SetCheckState(gadget::MetricsCheckBox, options.IsOn(opt::MetricsOn)
                                                 ? platform::CheckState::Checked
                                                 : platform::CheckState::Unchecked);
  gui.SetGadgetText(gadget::MetricsAddressText, MetricsPageAddress(endpoint));
  gui.SetGadgetText(
      gadget::MetricsStateText,
      MetricsStateText(static_cast<MetricsState>(options.Get(opt::MetricsState)), endpoint));
}

}  // namespace tarvik
