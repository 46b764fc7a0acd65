#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace tarvik {

// A click or hover on a row of the ping list: the 1-based row, the x in the timeline it fell on
// (0 on the row's text) and the character column under the mouse.
struct RowRequest {
  int Row = 0;
  int MouseX = 0;
  int CharColumn = 0;

  bool operator==(const RowRequest&) const = default;
};

enum class RowAsk { Select, Action, Hover };

// An address to add with its description (-1: a typed name that had no address). One from the
// address entry may give an existing host its description instead of being a duplicate.
struct AddRequest {
  int32_t Address = 0;
  std::wstring Description;
  bool FromAddressEntry = false;

  bool operator==(const AddRequest&) const = default;
};

// What the window and the resolver ask of the ping coordinator about single rows and adds, each
// request handed over whole under one lock: the coordinator never takes a row with the x of
// another click, nor an address with another add's description.
class PingRequests {
 public:
  static constexpr size_t kMostAdds = 32;

  // One request of each kind waits at a time; false while one does.
  bool Ask(RowAsk kind, RowRequest request);
  [[nodiscard]] std::optional<RowRequest> Take(RowAsk kind);
  [[nodiscard]] bool AnyRowRequest() const;

  // Adds wait in turn, up to kMostAdds; false when that many wait.
  bool QueueAdd(AddRequest request);
  [[nodiscard]] std::optional<AddRequest> TakeAdd();
  [[nodiscard]] size_t AddsWaiting() const;

 private:
  mutable std::mutex mutex_;
  std::array<std::optional<RowRequest>, 3> rows_;
  std::deque<AddRequest> adds_;
};

}  // namespace tarvik
