#include "monitors/ping/creation_keys.h"

namespace tarvik {

void CreationKeys::TakeBase(const std::function<bool()>& stopping) {
  constexpr int kMostPolls = 1'100;
  const int64_t second = clock_.NowLocal();
  for (int poll = 0; poll < kMostPolls && clock_.NowLocal() == second && !stopping(); ++poll)
    clock_.SleepMs(1);
  baseTickMs_ = clock_.TickMs();
}

std::wstring CreationKeys::Next() const {
  const int64_t milliseconds = ((clock_.TickMs() - baseTickMs_) % 1000 + 1000) % 1000;
  return std::to_wstring(clock_.NowLocal()) + L"." + std::to_wstring(milliseconds);
}

}  // namespace tarvik
