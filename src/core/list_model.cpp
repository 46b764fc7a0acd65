#include "core/list_model.h"

namespace tarvik {

void ListModel::Change(const std::function<void(std::vector<std::wstring>&)>& edit) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    edit(rows_);
  }
  updates_.Refresh(gadget_);
}

std::vector<std::wstring> ListModel::Rows() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return rows_;
}

}  // namespace tarvik
