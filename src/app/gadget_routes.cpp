#include "app/gadget_routes.h"

namespace tarvik {

void GadgetRoutes::On(int gadget, platform::GadgetAction action, GadgetHandler handler) {
  handlers_[{gadget, action}].push_back(std::move(handler));
}

LoopControl GadgetRoutes::Route(const platform::GuiEvent& event) const {
  const auto found =
      handlers_.find({event.Gadget, static_cast<platform::GadgetAction>(event.Detail)});
  if (found == handlers_.end())
    return LoopControl::Continue;
  LoopControl control = LoopControl::Continue;
  for (const GadgetHandler& handler : found->second) {
    if (handler(event) == LoopControl::Exit)
      control = LoopControl::Exit;
  }
  return control;
}

}  // namespace tarvik
