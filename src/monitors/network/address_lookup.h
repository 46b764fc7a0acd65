#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "monitors/network/ip_locale_info.h"

namespace tarvik {

// The external address lookup, run on a short-lived thread of its own so that the network
// monitor never waits for the service: the monitor starts it and, on a later pass, takes what
// it found. The request itself is bounded by its connect and total time-outs.
class AddressLookup {
 public:
  // One GET of the service's answer; none when no answer came.
  using Fetch = std::function<std::optional<std::string>()>;
  // Runs the work on a registered thread; false when no thread could be had.
  using StartTask = std::function<bool(std::function<void()> work)>;
  // What a finished lookup found: none when there was no answer or it was not JSON.
  using Outcome = std::optional<IPLocaleInfo>;

  AddressLookup(Fetch fetch, StartTask startTask);

  // Starts a lookup; false when one is still under way, which leaves it to the caller to ask
  // again. A lookup that gets no thread ends as failed at once.
  [[nodiscard]] bool Start();
  // The outcome of a lookup that ended since the last call, once.
  [[nodiscard]] std::optional<Outcome> TakeFinished();

 private:
  // Shared with the lookup's thread, which may outlive this object at shut-down.
  struct State {
    std::mutex Mutex;
    bool Running = false;
    std::optional<Outcome> Finished;
  };

  Fetch fetch_;
  StartTask startTask_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace tarvik
