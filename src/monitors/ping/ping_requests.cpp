#include "monitors/ping/ping_requests.h"

#include <utility>

namespace tarvik {

bool PingRequests::Ask(RowAsk kind, RowRequest request) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<RowRequest>& waiting = rows_[static_cast<size_t>(kind)];
  if (waiting)
    return false;
  waiting = request;
  return true;
}

std::optional<RowRequest> PingRequests::Take(RowAsk kind) {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(rows_[static_cast<size_t>(kind)], std::nullopt);
}

bool PingRequests::AnyRowRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const std::optional<RowRequest>& waiting : rows_) {
    if (waiting)
      return true;
  }
  return false;
}

bool PingRequests::QueueAdd(AddRequest request) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (adds_.size() >= kMostAdds)
    return false;
  adds_.push_back(std::move(request));
  return true;
}

std::optional<AddRequest> PingRequests::TakeAdd() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (adds_.empty())
    return std::nullopt;
  AddRequest first = std::move(adds_.front());
  adds_.pop_front();
  return first;
}

size_t PingRequests::AddsWaiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return adds_.size();
}

}  // namespace tarvik
