#include "core/settings.h"

#include <cassert>

namespace tarvik {

Settings::Settings() {
  Clear();
}

int32_t Settings::Get(int index) const {
  assert(index >= 0 && index < kCount);
  return values_[static_cast<size_t>(index)].load(std::memory_order_acquire);
}

void Settings::Set(int index, int32_t value) {
  assert(index >= 0 && index < kCount);
  values_[static_cast<size_t>(index)].store(value, std::memory_order_release);
}

void Settings::Toggle(int index) {
  assert(index >= 0 && index < kCount);
  values_[static_cast<size_t>(index)].fetch_xor(1, std::memory_order_acq_rel);
}

void Settings::Request(int index, int32_t value) {
  Set(index, value);
}

int32_t Settings::Take(int index, int32_t idle) {
  assert(index >= 0 && index < kCount);
  return values_[static_cast<size_t>(index)].exchange(idle, std::memory_order_acq_rel);
}

bool Settings::TakeIfEquals(int index, int32_t value, int32_t idle) {
  assert(index >= 0 && index < kCount);
  return values_[static_cast<size_t>(index)].compare_exchange_strong(value, idle,
                                                                     std::memory_order_acq_rel);
}

void Settings::Clear() {
  for (auto& value : values_)
    value.store(0, std::memory_order_relaxed);
}

}  // namespace tarvik
