#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "platform/gui.h"

namespace tarvik {

enum class LoopControl { Continue, Exit };

using GadgetHandler = std::function<LoopControl(const platform::GuiEvent& event)>;

// Who reacts to a gadget's clicks, changes and mouse moves. Each subsystem registers the
// handlers of its own gadgets when it is built, so the event loop knows none of them.
class GadgetRoutes {
 public:
  // Handlers add up: every subsystem that registers for a gadget and action hears its events,
  // in the order they registered, so no subsystem can switch off another's.
  void On(int gadget, platform::GadgetAction action, GadgetHandler handler);
  // Hands a gadget event to each of its handlers; the loop ends when any of them asks for it.
  // An event nobody handles changes nothing.
  [[nodiscard]] LoopControl Route(const platform::GuiEvent& event) const;

 private:
  std::map<std::pair<int, platform::GadgetAction>, std::vector<GadgetHandler>> handlers_;
};

}  // namespace tarvik
