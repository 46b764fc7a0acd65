#pragma once

#include <mutex>
#include <optional>
#include <utility>

namespace tarvik {

// A value that several threads share, reachable only through Lock(), so a reader or writer
// cannot forget the lock: the returned handle holds it for as long as the handle lives.
template <typename T>
class Guarded {
 public:
  class Handle {
   public:
    Handle(std::mutex& mutex, T& value) : lock_(mutex), value_(&value) {}
    Handle(std::unique_lock<std::mutex> lock, T& value) : lock_(std::move(lock)), value_(&value) {}
    T& operator*() const { return *value_; }
    T* operator->() const { return value_; }

   private:
    std::unique_lock<std::mutex> lock_;
    T* value_;
  };

  Guarded() = default;
  explicit Guarded(T initial) : value_(std::move(initial)) {}
  Guarded(const Guarded&) = delete;
  Guarded& operator=(const Guarded&) = delete;

  Handle Lock() { return Handle(mutex_, value_); }

  // The handle when the lock is free at once; none while another thread holds it, for a reader
  // that would rather use what it read before than wait.
  std::optional<Handle> TryLock() {
    std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock())
      return std::nullopt;
    return Handle(std::move(lock), value_);
  }

  // A copy taken under the lock, for readers that only need a snapshot.
  T Snapshot() {
    std::lock_guard<std::mutex> lock(mutex_);
    return value_;
  }

 private:
  std::mutex mutex_;
  T value_{};
};

}  // namespace tarvik
