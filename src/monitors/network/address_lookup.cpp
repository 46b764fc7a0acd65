#include "monitors/network/address_lookup.h"

#include <utility>

namespace tarvik {

AddressLookup::AddressLookup(Fetch fetch, StartTask startTask)
    : fetch_(std::move(fetch)), startTask_(std::move(startTask)) {}

bool AddressLookup::Start() {
  {
    std::lock_guard<std::mutex> lock(state_->Mutex);
    if (state_->Running)
      return false;
    state_->Running = true;
  }
  auto work = [state = state_, fetch = fetch_] {
    const std::optional<std::string> answer = fetch();
    Outcome outcome = answer ? ParseLocaleAnswer(*answer) : std::nullopt;
    std::lock_guard<std::mutex> lock(state->Mutex);
    state->Finished = std::move(outcome);
    state->Running = false;
  };
  if (startTask_(std::move(work)))
    return true;
  std::lock_guard<std::mutex> lock(state_->Mutex);
  state_->Finished = Outcome{};
  state_->Running = false;
  return true;
}

std::optional<AddressLookup::Outcome> AddressLookup::TakeFinished() {
  std::lock_guard<std::mutex> lock(state_->Mutex);
  return std::exchange(state_->Finished, std::nullopt);
}

}  // namespace tarvik
