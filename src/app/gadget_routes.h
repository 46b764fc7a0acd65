#pragma once

#include <functional>
#include <map>
#include <utility>

#include "platform/gui.h"

namespace tarvik {

enum class LoopControl { Continue, Exit };

using GadgetHandler = std::function<LoopControl(const platform::GuiEvent& event)>;

// Who reacts to a gadget's clicks, changes and mouse moves. Each subsystem registers the
// handlers of its own gadgets when it is built, so the event loop knows none of them.
class GadgetRoutes {
 public:
  // One handler per gadget and action; a later registration replaces the earlier one.
  void On(int gadget, platform::GadgetAction action, GadgetHandler handler);
  // Hands a gadget event to its handler; an event nobody handles changes nothing.
  [[nodiscard]] LoopControl Route(const platform::GuiEvent& event) const;

 private:
  std::map<std::pair<int, platform::GadgetAction>, GadgetHandler> handlers_;
};

}  // namespace tarvik
