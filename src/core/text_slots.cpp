#include "core/text_slots.h"

#include <cassert>

namespace tarvik {

std::wstring TextSlots::Get(int index) const {
  assert(index >= 0 && index < kCount);
  std::lock_guard<std::mutex> lock(mutex_);
  return texts_[static_cast<size_t>(index)];
}

void TextSlots::Set(int index, std::wstring text) {
  assert(index >= 0 && index < kCount);
  std::lock_guard<std::mutex> lock(mutex_);
  texts_[static_cast<size_t>(index)] = std::move(text);
}

void TextSlots::Update(int index, const std::function<void(std::wstring&)>& change) {
  assert(index >= 0 && index < kCount);
  std::lock_guard<std::mutex> lock(mutex_);
  change(texts_[static_cast<size_t>(index)]);
}

std::wstring TextSlots::Exchange(int index, std::wstring text) {
  assert(index >= 0 && index < kCount);
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(texts_[static_cast<size_t>(index)], text);
  return text;
}

}  // namespace tarvik
