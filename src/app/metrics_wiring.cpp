#include "app/metrics_wiring.h"

#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/metrics_row.h"

namespace tarvik {
namespace {

constexpr const char* kMetricsPath = "/metrics";

MetricsState StateOf(platform::ListenResult result) {
  switch (result) {
    case platform::ListenResult::Listening:
      return MetricsState::Listening;
    case platform::ListenResult::AddressInUse:
      return MetricsState::PortTaken;
    case platform::ListenResult::AddressNotAvailable:
      return MetricsState::AddressUnavailable;
    case platform::ListenResult::Failed:
      break;
  }
  return MetricsState::Failed;
}

}  // namespace

void MetricsWiring::Install(GadgetRoutes& routes) {
  routes.On(gadget::MetricsCheckBox, platform::GadgetAction::Click,
            [this](const platform::GuiEvent&) {
              Toggle();
              return LoopControl::Continue;
            });
}

void MetricsWiring::Toggle() {
  Settings& options = ports_.Options;
  options.Set(opt::MetricsOn, options.IsOn(opt::MetricsOn) ? 0 : 1);
  Apply();
}

void MetricsWiring::Apply() {
  Settings& options = ports_.Options;
  const MetricsEndpoint endpoint = MetricsEndpointOf(options);
  const bool wanted = options.IsOn(opt::MetricsOn);
  const bool serving = listeningOn_ && server_ && server_->Listening();
  if (!(wanted && serving && *listeningOn_ == endpoint)) {
    if (listeningOn_) {
      server_->Stop();
      ports_.Log(Tr(L"Metrics") + L": " + MetricsPageAddress(*listeningOn_) + L" " +
                 Tr(L"Stopped"));
      listeningOn_.reset();
    }
    if (wanted) {
      Listen(endpoint);
    } else if (static_cast<MetricsState>(options.Get(opt::MetricsState)) ==
               MetricsState::AddressRefused) {
      LogState(endpoint);
    } else {
      options.Set(opt::MetricsState, static_cast<int32_t>(MetricsState::Off));
    }
  }
  ShowMetricsRow(ports_.Gui, options);
}

void MetricsWiring::Listen(const MetricsEndpoint& endpoint) {
  const platform::ListenResult result =
      server_ ? server_->Start(MetricsAddressText(endpoint), endpoint.Port, kMetricsPath,
                               [this] { return Page(); })
              : platform::ListenResult::Failed;
  ports_.Options.Set(opt::MetricsState, static_cast<int32_t>(StateOf(result)));
  if (result == platform::ListenResult::Listening)
    listeningOn_ = endpoint;
  LogState(endpoint);
}

// A refused address is not shown: the one the row shows is only the default.
void MetricsWiring::LogState(const MetricsEndpoint& endpoint) {
  const auto state = static_cast<MetricsState>(ports_.Options.Get(opt::MetricsState));
  const std::wstring where =
      state == MetricsState::AddressRefused ? L"" : MetricsPageAddress(endpoint) + L" ";
  ports_.Log(Tr(L"Metrics") + L": " + where + MetricsStateText(state, endpoint));
}

void MetricsWiring::Stop() {
  if (server_)
    server_->Stop();
  listeningOn_.reset();
}

platform::ServedPage MetricsWiring::Page() {
  std::lock_guard lock(pageMutex_);
  return {kMetricsContentType, page_.Build(source_.Assemble())};
}

}  // namespace tarvik
