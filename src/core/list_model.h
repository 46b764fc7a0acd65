#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/window_updates.h"

namespace tarvik {

// The rows of one list of the main window as the program knows them: any thread changes them
// here, under the model's own lock, and the change queues a refresh of the list, which the
// window thread then shows. A row's columns are separated by line feeds.
class ListModel {
 public:
  ListModel(int gadget, WindowUpdateQueue& updates) : gadget_(gadget), updates_(updates) {}
  ListModel(const ListModel&) = delete;
  ListModel& operator=(const ListModel&) = delete;

  [[nodiscard]] int Gadget() const { return gadget_; }
  // Edits the rows in one step, then asks the window thread to show them.
  void Change(const std::function<void(std::vector<std::wstring>& rows)>& edit);
  [[nodiscard]] std::vector<std::wstring> Rows() const;

 private:
  int gadget_;
  WindowUpdateQueue& updates_;
  mutable std::mutex mutex_;
  std::vector<std::wstring> rows_;
};

}  // namespace tarvik
